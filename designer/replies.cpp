#include "designer/replies.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "core/text/utf8.h"
#include "designer/method_parameters.h"

namespace tagwright::designer {
namespace {

using nlohmann::json;

json markJson(const ScriptMark& mark) {
  return {{"line", mark.line},
          {"column", mark.column},
          {"severity", mark.severity},
          {"rule", mark.rule},
          {"message", mark.message}};
}

std::string dump(const json& value) {
  // Messages quote the script, which the page may send as any bytes.
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

unsigned byteAt(std::string_view bytes, std::size_t i) {
  return i < bytes.size() ? static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) : 0U;
}

}  // namespace

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = byteAt(bytes, i) << 16 | byteAt(bytes, i + 1) << 8 | byteAt(bytes, i + 2);
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += kAlphabet[v >> 6 & 63];
    out += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    const unsigned v = byteAt(bytes, i) << 16 | byteAt(bytes, i + 1) << 8;
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += i + 1 < bytes.size() ? kAlphabet[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

std::string renderingJson(const Rendering& r) {
  json labels = json::array();
  for (const RenderedLabel& label : r.labels) {
    json one = {{"width", label.width}, {"height", label.height}, {"copies", label.copies}};
    if (label.error.empty()) {
      one["png"] = base64(label.png);
    } else {
      one["error"] = label.error;
    }
    labels.push_back(std::move(one));
  }
  json findings = json::array();
  for (const ScriptMark& f : r.findings) findings.push_back(markJson(f));
  json elements = json::array();
  for (const ElementPlace& e : r.elements) {
    elements.push_back({{"label", e.label},
                        {"line", e.line},
                        {"column", e.column},
                        {"left", e.left},
                        {"top", e.top},
                        {"right", e.right},
                        {"bottom", e.bottom},
                        {"what", e.what}});
  }
  json reply = {{"dotsPerMm", r.dotsPerMm}, {"labels", labels},       {"findings", findings},
                {"elements", elements},     {"messages", r.messages}, {"tooLarge", r.tooLarge}};
  if (r.scriptError) {
    json error = markJson(*r.scriptError);
    error["text"] = r.scriptErrorText;
    reply["scriptError"] = std::move(error);
  } else {
    reply["scriptError"] = nullptr;
  }
  return dump(reply);
}

std::string namesJson() {
  json properties = json::array();
  for (std::int32_t n = 0; n < kPropertyCount; ++n) {
    const PropertyEntry* p = propertyEntry(n);
    properties.push_back({{"english", toUtf8(p->english)}, {"russian", toUtf8(p->russian)}});
  }
  json methods = json::array();
  for (std::int32_t n = 0; n < kMethodCount; ++n) {
    const MethodEntry* m = methodEntry(n);
    json parameters = json::array();
    for (std::string_view name : methodParameters(static_cast<Method>(n))) {
      parameters.push_back(std::string(name));
    }
    methods.push_back({{"english", toUtf8(m->english)},
                       {"russian", toUtf8(m->russian)},
                       {"parameters", parameters},
                       {"function", m->hasReturnValue}});
  }
  return dump({{"properties", properties}, {"methods", methods}});
}

std::string errorJson(std::string_view message) { return dump({{"error", std::string(message)}}); }

std::string serverTiming(const RenderTimes& times, double totalMs) {
  char text[160];
  std::snprintf(text, sizeof text, "run;dur=%.2f, draw;dur=%.2f, encode;dur=%.2f, total;dur=%.2f",
                times.run, times.draw, times.encode, totalMs);
  return text;
}

}  // namespace tagwright::designer
