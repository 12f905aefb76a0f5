#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "status/printer_status.h"
#include "status/status_channel.h"

namespace tagwright::cli {

// One answer to `~S,STATUS`, or what came instead.
struct StatusAnswer {
  enum class Kind { Answered, Silent, Garbled, Failed };
  Kind kind = Kind::Silent;
  PrinterStatus status;
  std::string detail;  // Garbled: the line; Silent, Failed: what happened, if known
};

// Asks once and waits up to `wait` for the answer; `switchOn` first sends
// the setting that makes the printer answer (which it stores).
StatusAnswer askStatus(StatusChannel& channel, std::chrono::milliseconds wait, bool switchOn);

// Why a printer may not answer, for the message of a query that got none.
std::string silenceReasons();

struct ConfirmTimes {
  std::chrono::milliseconds answer{2000};    // for each answer
  std::chrono::milliseconds perLabel{3000};  // the whole wait grows by this for each label left
  std::chrono::milliseconds poll{50};        // between the queries
};

// How the wait for a job to print ended.
struct Confirmation {
  bool printed = false;
  std::string reason;  // when not printed: the fault, the silence, the time-out
  std::optional<PrinterStatus> last;
};

// Asks until the printer reports 00,00000 (printed), a fault, or no answer,
// or until the time for the most labels it reported left has run out.
Confirmation waitUntilPrinted(StatusChannel& channel, const ConfirmTimes& times);

}  // namespace tagwright::cli
