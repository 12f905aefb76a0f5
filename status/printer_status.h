#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tagwright::cli {

// The two-digit codes a label printer answers status queries with.
enum class StatusCode : int {
  Ready = 0,
  MediaEmpty = 1,  // or a media jam, on printers that do not tell them apart
  MediaJam = 2,
  RibbonEmpty = 3,
  HeadOpen = 4,
  RewinderFull = 5,
  FileSystemFull = 6,
  FileNameNotFound = 7,
  DuplicateName = 8,
  SyntaxError = 9,
  CutterJam = 10,
  NoExtendedMemory = 11,
  WaitingForTakeAway = 13,
  Paused = 20,
  SettingMode = 21,
  KeyboardMode = 22,
  Printing = 50,
  DataInProcess = 60,
  HeadTooHot = 62,
};

// What `~S,STATUS` answers: the state and the labels still to print.
struct PrinterStatus {
  StatusCode code = StatusCode::Ready;
  int labelsLeft = 0;
  friend bool operator==(const PrinterStatus&, const PrinterStatus&) = default;
};

// The queries and the setting that switches their answers on.
inline constexpr std::string_view kCheckQuery = "~S,CHECK";
inline constexpr std::string_view kStatusQuery = "~S,STATUS";
inline constexpr std::string_view kImmediateRepliesOn = "^XSET,IMMEDIATE,1";
inline constexpr std::string_view kImmediateRepliesOff = "^XSET,IMMEDIATE,0";

// The code as a known one, or nothing for a number no printer sends.
std::optional<StatusCode> statusCodeFromNumber(int number);

// A state by the name the virtual printer's options use ("media-empty",
// "head-open", ...), and back.
std::optional<StatusCode> statusCodeFromName(std::string_view name);
std::string_view statusCodeName(StatusCode code);

// The state in words: "ready", "media empty or media jam", ...
std::string_view statusWords(StatusCode code);

// Ready, printing and data in process are the printer at work; every
// other code keeps it from printing.
bool isFault(StatusCode code);

// "00" for a code; the answers on the wire, CR LF included.
std::string twoDigits(StatusCode code);
std::string checkReply(StatusCode code);
std::string statusReply(const PrinterStatus& status);

// Reads one answer line without its CR LF: "50,00003" for a status
// answer, "04" for a check answer (labelsLeft is then 0). Nothing for
// anything else.
std::optional<PrinterStatus> parseStatusAnswer(std::string_view line);

// "printing, 3 labels left (50,00003)", "media empty or media jam (01,00002)".
std::string describeStatus(const PrinterStatus& status);

}  // namespace tagwright::cli
