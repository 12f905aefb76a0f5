#include "virtual_printer/printer_log.h"

#include "core/util/json_document.h"
#include "preview/picture_files.h"

namespace tagwright::cli::printer {
namespace {

JsonDocument jsonNotes(const std::vector<preview::PreviewNote>& notes) {
  JsonDocument list = JsonDocument::array();
  for (const preview::PreviewNote& note : notes) {
    list.push_back(JsonDocument{{"byte", note.offset}, {"text", note.text}});
  }
  return list;
}

std::string textNotes(const std::vector<preview::PreviewNote>& notes) {
  std::string text;
  for (const preview::PreviewNote& note : notes) {
    text += "; note: byte " + std::to_string(note.offset) + ": " + note.text;
  }
  return text;
}

std::string plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

void PrinterLog::line(const std::string& text) {
  std::lock_guard<std::mutex> guard(lock_);
  out_ << text << '\n' << std::flush;
}

void PrinterLog::listening(const std::string& kind, const std::string& where) {
  if (json_) {
    line(jsonText({{"event", "listening"}, {"on", kind}, {"at", where}}));
  } else {
    line("listening on " + kind + " " + where);
  }
}

void PrinterLog::label(const LabelRecord& r) {
  if (json_) {
    JsonDocument e = {{"event", "label"},   {"job", r.job},         {"label", r.label},
                      {"copies", r.copies}, {"width", r.widthDots}, {"height", r.heightDots}};
    if (!r.picture.empty()) e["picture"] = r.picture;
    if (!r.error.empty()) e["error"] = r.error;
    e["notes"] = jsonNotes(r.notes);
    line(jsonText(e));
    return;
  }
  std::string text = "job " + std::to_string(r.job) + ", label " + std::to_string(r.label) + ": ";
  if (!r.error.empty()) {
    text += "not drawn: " + r.error;
  } else {
    text += pictureSizeText(r.widthDots, r.heightDots, r.dotsPerMm);
  }
  text += ", " + plural(r.copies, "copy", "copies");
  if (!r.picture.empty()) text += ", " + r.picture;
  line(text + textNotes(r.notes));
}

void PrinterLog::job(const JobRecord& r) {
  if (json_) {
    line(jsonText({{"event", "job"},
                   {"job", r.job},
                   {"bytes", r.bytes},
                   {"labels", r.labels},
                   {"copies", r.copies},
                   {"notes", jsonNotes(r.notes)}}));
    return;
  }
  line("job " + std::to_string(r.job) + ": " + plural(static_cast<int>(r.bytes), "byte", "bytes") +
       ", " + plural(r.labels, "label", "labels") + ", " + plural(r.copies, "copy", "copies") +
       textNotes(r.notes));
}

void PrinterLog::query(const std::string& command, const std::optional<std::string>& answer) {
  if (json_) {
    line(jsonText({{"event", "query"},
                   {"command", command},
                   {"answer", answer ? JsonDocument(*answer) : JsonDocument(nullptr)}}));
  } else {
    line(
        "query " + command + ": " +
        (answer ? "answered " + *answer : std::string("not answered (immediate replies are off)")));
  }
}

void PrinterLog::printed(const PrinterEvent& event) {
  const bool fault = event.kind == PrinterEvent::Kind::Fault;
  if (json_) {
    JsonDocument e = {{"event", fault ? "fault" : "printed"},
                      {"printed", event.labelsPrinted},
                      {"left", event.labelsLeft}};
    if (fault) {
      e["code"] = twoDigits(event.state);
      e["state"] = statusWords(event.state);
    }
    line(jsonText(e));
  } else if (fault) {
    line("fault: " + std::string(statusWords(event.state)) + " (" + twoDigits(event.state) +
         ") after " + plural(event.labelsPrinted, "label", "labels") + ", " +
         plural(event.labelsLeft, "label", "labels") + " left");
  } else {
    line("ready: every label printed, " + plural(event.labelsPrinted, "label", "labels") +
         " since the start");
  }
}

void PrinterLog::notice(const std::string& text) {
  line(json_ ? jsonText({{"event", "notice"}, {"text", text}}) : "notice: " + text);
}

void PrinterLog::stopped(const std::string& reason) {
  line(json_ ? jsonText({{"event", "stopped"}, {"reason", reason}}) : "stopped: " + reason);
}

}  // namespace tagwright::cli::printer
