#include "cli/printer/printer_log.h"

#include <cstdio>

#include "cli/preview/picture_files.h"

namespace tagwright::cli::printer {
namespace {

std::string jsonNotes(const std::vector<preview::PreviewNote>& notes) {
  std::string text = "[";
  for (const preview::PreviewNote& note : notes) {
    if (text.size() > 1) text += ",";
    text += "{\"byte\":" + std::to_string(note.offset) + ",\"text\":" + jsonString(note.text) + "}";
  }
  return text + "]";
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

std::string jsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      quoted += escaped;
    } else {
      quoted += c;  // UTF-8 passes as it is
    }
  }
  return quoted + "\"";
}

void PrinterLog::line(const std::string& text) {
  std::lock_guard<std::mutex> guard(lock_);
  out_ << text << '\n' << std::flush;
}

void PrinterLog::listening(const std::string& kind, const std::string& where) {
  if (json_) {
    line("{\"event\":\"listening\",\"on\":" + jsonString(kind) + ",\"at\":" + jsonString(where) +
         "}");
  } else {
    line("listening on " + kind + " " + where);
  }
}

void PrinterLog::label(const LabelRecord& r) {
  if (json_) {
    std::string text =
        "{\"event\":\"label\",\"job\":" + std::to_string(r.job) +
        ",\"label\":" + std::to_string(r.label) + ",\"copies\":" + std::to_string(r.copies) +
        ",\"width\":" + std::to_string(r.widthDots) + ",\"height\":" + std::to_string(r.heightDots);
    if (!r.picture.empty()) text += ",\"picture\":" + jsonString(r.picture);
    if (!r.error.empty()) text += ",\"error\":" + jsonString(r.error);
    line(text + ",\"notes\":" + jsonNotes(r.notes) + "}");
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
    line("{\"event\":\"job\",\"job\":" + std::to_string(r.job) +
         ",\"bytes\":" + std::to_string(r.bytes) + ",\"labels\":" + std::to_string(r.labels) +
         ",\"copies\":" + std::to_string(r.copies) + ",\"notes\":" + jsonNotes(r.notes) + "}");
    return;
  }
  line("job " + std::to_string(r.job) + ": " + plural(static_cast<int>(r.bytes), "byte", "bytes") +
       ", " + plural(r.labels, "label", "labels") + ", " + plural(r.copies, "copy", "copies") +
       textNotes(r.notes));
}

void PrinterLog::query(const std::string& command, const std::optional<std::string>& answer) {
  if (json_) {
    line("{\"event\":\"query\",\"command\":" + jsonString(command) +
         ",\"answer\":" + (answer ? jsonString(*answer) : std::string("null")) + "}");
  } else {
    line(
        "query " + command + ": " +
        (answer ? "answered " + *answer : std::string("not answered (immediate replies are off)")));
  }
}

void PrinterLog::printed(const PrinterEvent& event) {
  const bool fault = event.kind == PrinterEvent::Kind::kFault;
  if (json_) {
    std::string text = std::string("{\"event\":") + (fault ? "\"fault\"" : "\"printed\"") +
                       ",\"printed\":" + std::to_string(event.labelsPrinted) +
                       ",\"left\":" + std::to_string(event.labelsLeft);
    if (fault) {
      text += ",\"code\":" + jsonString(twoDigits(event.state)) +
              ",\"state\":" + jsonString(std::string(statusWords(event.state)));
    }
    line(text + "}");
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
  line(json_ ? "{\"event\":\"notice\",\"text\":" + jsonString(text) + "}" : "notice: " + text);
}

void PrinterLog::stopped(const std::string& reason) {
  line(json_ ? "{\"event\":\"stopped\",\"reason\":" + jsonString(reason) + "}"
             : "stopped: " + reason);
}

}  // namespace tagwright::cli::printer
