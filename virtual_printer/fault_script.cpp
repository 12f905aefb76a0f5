#include "virtual_printer/fault_script.h"

#include <array>
#include <utility>

namespace tagwright::cli::printer {
namespace {

constexpr std::array<std::pair<ConnectionFault, std::string_view>, 4> kConnectionFaults{{
    {ConnectionFault::Refuse, "refuse"},
    {ConnectionFault::StopReading, "stop-reading"},
    {ConnectionFault::CloseMidJob, "close-mid-job"},
    {ConnectionFault::NeverClose, "never-close"},
}};

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Takes `word` and the blanks after it from the front of `text`.
bool takeWord(std::string_view& text, std::string_view word) {
  text = trimmed(text);
  if (text.substr(0, word.size()) != word) return false;
  text.remove_prefix(word.size());
  return true;
}

std::optional<int> takeCount(std::string_view& text) {
  text = trimmed(text);
  int value = 0;
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    if (value > 9999999) return std::nullopt;
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  text.remove_prefix(digits);
  return value;
}

}  // namespace

Result<StatusCode> parseFaultState(std::string_view name) {
  const std::optional<StatusCode> code = statusCodeFromName(name);
  if (!code || !isFault(*code)) {
    std::string states;
    for (std::string_view candidate :
         {"media-empty", "media-jam", "ribbon-empty", "head-open", "paused", "cutter-jam",
          "head-too-hot", "rewinder-full", "label-not-taken"}) {
      if (!states.empty()) states += ", ";
      states += candidate;
    }
    return Result<StatusCode>::failure("unknown printer fault \"" + std::string(name) + "\" (" +
                                       states + ")");
  }
  return *code;
}

Result<FaultRule> parseFaultRule(std::string_view text) {
  const std::string shown(text);
  const auto wrong = [&shown](const std::string& why) {
    return Result<FaultRule>::failure("--fault \"" + shown + "\": " + why +
                                      " (write it as \"after 2 labels: media-empty\")");
  };
  std::string_view rest = text;
  if (!takeWord(rest, "after")) return wrong("it starts with \"after\"");
  const std::optional<int> count = takeCount(rest);
  if (!count) return wrong("a number of labels follows \"after\"");
  if (!takeWord(rest, "labels") && !takeWord(rest, "label")) {
    return wrong("\"labels\" follows the number");
  }
  if (!takeWord(rest, ":")) return wrong("a colon comes before the state");
  Result<StatusCode> state = parseFaultState(trimmed(rest));
  if (!state) return wrong(state.error());
  return FaultRule{*count, state.value()};
}

Result<ConnectionFault> parseConnectionFault(std::string_view name) {
  for (const auto& [fault, text] : kConnectionFaults) {
    if (text == name) return fault;
  }
  return Result<ConnectionFault>::failure("unknown connection fault \"" + std::string(name) +
                                          "\" (refuse, stop-reading, close-mid-job or "
                                          "never-close)");
}

std::string_view connectionFaultName(ConnectionFault fault) {
  for (const auto& [candidate, text] : kConnectionFaults) {
    if (candidate == fault) return text;
  }
  return "none";
}

}  // namespace tagwright::cli::printer
