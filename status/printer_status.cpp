#include "status/printer_status.h"

#include <array>
#include <cstdio>

namespace tagwright::cli {
namespace {

struct CodeRow {
  StatusCode code;
  std::string_view name;
  std::string_view words;
};

constexpr std::array<CodeRow, 19> kCodes{{
    {StatusCode::Ready, "ready", "ready"},
    {StatusCode::MediaEmpty, "media-empty", "media empty or media jam"},
    {StatusCode::MediaJam, "media-jam", "media jam"},
    {StatusCode::RibbonEmpty, "ribbon-empty", "ribbon empty"},
    {StatusCode::HeadOpen, "head-open", "print head open"},
    {StatusCode::RewinderFull, "rewinder-full", "rewinder full"},
    {StatusCode::FileSystemFull, "file-system-full", "file system full"},
    {StatusCode::FileNameNotFound, "file-not-found", "file name not found"},
    {StatusCode::DuplicateName, "duplicate-name", "duplicate name"},
    {StatusCode::SyntaxError, "syntax-error", "syntax error"},
    {StatusCode::CutterJam, "cutter-jam", "cutter jam"},
    {StatusCode::NoExtendedMemory, "no-extended-memory", "extended memory not found"},
    {StatusCode::WaitingForTakeAway, "label-not-taken",
     "waiting for the label to be taken (stripper)"},
    {StatusCode::Paused, "paused", "paused"},
    {StatusCode::SettingMode, "setting-mode", "in setting mode"},
    {StatusCode::KeyboardMode, "keyboard-mode", "in keyboard mode"},
    {StatusCode::Printing, "printing", "printing"},
    {StatusCode::DataInProcess, "data-in-process", "data in process"},
    {StatusCode::HeadTooHot, "head-too-hot", "print head too hot"},
}};

const CodeRow* rowOf(StatusCode code) {
  for (const CodeRow& row : kCodes) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int numberOf(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::optional<StatusCode> statusCodeFromNumber(int number) {
  for (const CodeRow& row : kCodes) {
    if (static_cast<int>(row.code) == number) return row.code;
  }
  return std::nullopt;
}

std::optional<StatusCode> statusCodeFromName(std::string_view name) {
  for (const CodeRow& row : kCodes) {
    if (row.name == name) return row.code;
  }
  return std::nullopt;
}

std::string_view statusCodeName(StatusCode code) {
  const CodeRow* row = rowOf(code);
  return row ? row->name : "unknown";
}

std::string_view statusWords(StatusCode code) {
  const CodeRow* row = rowOf(code);
  return row ? row->words : "an unknown state";
}

bool isFault(StatusCode code) {
  return code != StatusCode::Ready && code != StatusCode::Printing &&
         code != StatusCode::DataInProcess;
}

std::string twoDigits(StatusCode code) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(code) % 100);
  return text;
}

std::string checkReply(StatusCode code) { return twoDigits(code) + "\r\n"; }

std::string statusReply(const PrinterStatus& status) {
  // Five digits: a count beyond them is shown as the largest they hold.
  const int count = status.labelsLeft < 0       ? 0
                    : status.labelsLeft > 99999 ? 99999
                                                : status.labelsLeft;
  char text[16];
  std::snprintf(text, sizeof text, "%05d", count);
  return twoDigits(status.code) + "," + text + "\r\n";
}

std::optional<PrinterStatus> parseStatusAnswer(std::string_view line) {
  const std::string_view code = line.substr(0, 2);
  if (code.size() != 2 || !allDigits(code)) return std::nullopt;
  const std::optional<StatusCode> known = statusCodeFromNumber(numberOf(code));
  if (!known) return std::nullopt;
  if (line.size() == 2) return PrinterStatus{*known, 0};
  if (line.size() != 8 || line[2] != ',' || !allDigits(line.substr(3))) return std::nullopt;
  return PrinterStatus{*known, numberOf(line.substr(3))};
}

std::string describeStatus(const PrinterStatus& status) {
  std::string text(statusWords(status.code));
  if (status.labelsLeft > 0) {
    text += ", " + std::to_string(status.labelsLeft) +
            (status.labelsLeft == 1 ? " label left" : " labels left");
  }
  std::string answer = statusReply(status);
  answer.resize(answer.size() - 2);  // without CR LF
  return text + " (" + answer + ")";
}

}  // namespace tagwright::cli
