#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tagwright::cli {

// The two-digit codes a label printer answers status queries with.
enum class StatusCode : int {
  kReady = 0,
  kMediaEmpty = 1,  // or a media jam, on printers that do not tell them apart
  kMediaJam = 2,
  kRibbonEmpty = 3,
  kHeadOpen = 4,
  kRewinderFull = 5,
  kFileSystemFull = 6,
  kFileNameNotFound = 7,
  kDuplicateName = 8,
  kSyntaxError = 9,
  kCutterJam = 10,
  kNoExtendedMemory = 11,
  kWaitingForTakeAway = 13,
  kPaused = 20,
  kSettingMode = 21,
  kKeyboardMode = 22,
  kPrinting = 50,
  kDataInProcess = 60,
  kHeadTooHot = 62,
};

// What `~S,STATUS` answers: the state and the labels still to print.
struct PrinterStatus {
  StatusCode code = StatusCode::kReady;
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
