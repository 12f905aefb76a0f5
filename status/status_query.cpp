#include "status/status_query.h"

#include <algorithm>
#include <thread>

namespace tagwright::cli {
namespace {

std::string seconds(std::chrono::milliseconds time) {
  const long long ms = time.count();
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 != 0) {
    std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    text += "." + fraction;
  }
  return text + " s";
}

// An answer that is no status may be any bytes: shown with what is not
// printable ASCII as \xNN, so that it cannot steer the terminal.
std::string shownAnswer(const std::string& line) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0x0F];
    }
  }
  return shown;
}

}  // namespace

StatusAnswer askStatus(StatusChannel& channel, std::chrono::milliseconds wait, bool switchOn) {
  StatusAnswer answer;
  channel.discardPending();
  std::string query;
  if (switchOn) query += std::string(kImmediateRepliesOn) + "\r";
  query += std::string(kStatusQuery) + "\r";
  if (const Status sent = channel.send(query); !sent) {
    answer.kind = StatusAnswer::Kind::Failed;
    answer.detail = sent.error();
    return answer;
  }
  const Result<std::optional<std::string>> read = channel.readLine(wait);
  if (!read) {
    answer.kind = StatusAnswer::Kind::Failed;
    answer.detail = read.error();
    return answer;
  }
  const std::optional<std::string>& line = read.value();
  if (!line) {
    answer.kind = StatusAnswer::Kind::Silent;
    return answer;
  }
  if (std::optional<PrinterStatus> status = parseStatusAnswer(*line)) {
    answer.kind = StatusAnswer::Kind::Answered;
    answer.status = *status;
  } else {
    answer.kind = StatusAnswer::Kind::Garbled;
    answer.detail = shownAnswer(*line);
  }
  return answer;
}

std::string silenceReasons() {
  return "the printer's immediate replies may be off (^XSET,IMMEDIATE,1 was sent; a printer "
         "that ignores it stays silent), the port may be one-way (a print-server queue, a "
         "parallel port), or it is the wrong port";
}

Confirmation waitUntilPrinted(StatusChannel& channel, const ConfirmTimes& times) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  int mostLeft = 1;
  Confirmation result;
  for (bool first = true;; first = false) {
    const StatusAnswer answer = askStatus(channel, times.answer, first);
    switch (answer.kind) {
      case StatusAnswer::Kind::Silent:
        result.reason = "no answer to the status query within " + seconds(times.answer) + ": " +
                        silenceReasons();
        return result;
      case StatusAnswer::Kind::Failed:
        result.reason = "the status query failed: " + answer.detail;
        return result;
      case StatusAnswer::Kind::Garbled:
        result.reason = "the printer answered \"" + answer.detail + "\", which is not a status";
        return result;
      case StatusAnswer::Kind::Answered: break;
    }
    result.last = answer.status;
    if (answer.status == PrinterStatus{StatusCode::Ready, 0}) {
      result.printed = true;
      return result;
    }
    if (isFault(answer.status.code)) {
      result.reason = "the printer reports " + describeStatus(answer.status);
      return result;
    }
    mostLeft = std::max(mostLeft, answer.status.labelsLeft);
    const auto limit = times.answer + times.perLabel * mostLeft;
    if (Clock::now() - start > limit) {
      result.reason = "not printed after " +
                      seconds(std::chrono::duration_cast<std::chrono::milliseconds>(limit)) +
                      ": the printer still reports " + describeStatus(answer.status);
      return result;
    }
    std::this_thread::sleep_for(times.poll);
  }
}

}  // namespace tagwright::cli
