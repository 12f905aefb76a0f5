#include "cli/commands/printer_options.h"

#include <CLI/App.hpp>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "cli/app/shared_options.h"

namespace tagwright::cli::printer {
namespace {

// The serial line and the file inputs wait on descriptors as only POSIX
// can; Windows' program serves TCP alone.
#ifdef _WIN32
constexpr bool kLocalInputs = false;
constexpr std::string_view kLinuxOnly = "Linux only: ";
constexpr const char* kHowItStops = "Stops on Ctrl+C or Ctrl+Break, or when the console closes.";
#else
constexpr bool kLocalInputs = true;
constexpr std::string_view kLinuxOnly = "";
constexpr const char* kHowItStops =
    "Stops on SIGINT or SIGTERM, or when a file or standard input ends.";
#endif

// A count of bytes: up to twelve digits, and no more than a size holds.
std::optional<std::size_t> wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 12 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const unsigned long long number = std::stoull(text);
  if (number > std::numeric_limits<std::size_t>::max()) return std::nullopt;
  return static_cast<std::size_t>(number);
}

// A value read by `parse` (a Result), handed to `store`; refused with the
// parser's message after `prefix`.
template <typename Parse, typename Store>
TakeValue parsedBy(Parse parse, std::string prefix, Store store) {
  return [parse, prefix, store](const std::string& value) -> Status {
    auto parsed = parse(value);
    if (!parsed) return Status::failure(prefix + parsed.error());
    store(parsed.value());
    return Status::success();
  };
}

void addFaultOptions(CLI::App& command, PrinterOptions& o) {
  addValueOption(
      command, "--state", "STATE",
      "a fault from the start: media-empty, head-open, ribbon-empty,\n"
      "paused, cutter-jam, media-jam, head-too-hot, rewinder-full,\n"
      "label-not-taken",
      parsedBy(parseFaultState, "--state: ", [&o](StatusCode state) { o.state = state; }));
  addValueOption(
      command, "--fault", "\"after N labels: STATE\"",
      "N labels print, the next one meets STATE (may be repeated)",
      parsedBy(parseFaultRule, "", [&o](const FaultRule& rule) { o.faults.push_back(rule); }));
  addValueOption(command, "--tcp-fault", "KIND",
                 "refuse, stop-reading, close-mid-job (after --close-after BYTES)\n"
                 "or never-close",
                 parsedBy(parseConnectionFault, "--tcp-fault: ", [&o](ConnectionFault fault) {
                   o.connectionFault = fault;
                 }));
  addValueOption(
      command, "--close-after", "BYTES", "where close-mid-job closes the connection (default 16)",
      [&o](const std::string& value) -> Status {
        const auto bytes = wholeNumber(value);
        if (!bytes || *bytes == 0) {
          return Status::failure("--close-after takes a number of bytes (got \"" + value + "\")");
        }
        o.closeAfter = *bytes;
        return Status::success();
      });
}

void addPaceOptions(CLI::App& command, PrinterOptions& o) {
  addValueOption(
      command, "--speed-factor", "F",
      "print F times faster than the stream's ^S and label length say",
      [&o](const std::string& value) -> Status {
        char* end = nullptr;
        const double factor = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(factor >= 0.01 && factor <= 1000000)) {
          return Status::failure("--speed-factor takes a number from 0.01 to 1000000 (got \"" +
                                 value + "\")");
        }
        o.speedFactor = factor;
        return Status::success();
      });
  addValueOption(
      command, "--buffer-cap", "BYTES",
      "the most bytes held without a whole label (default 16 MiB)",
      [&o](const std::string& value) -> Status {
        const auto bytes = wholeNumber(value);
        if (!bytes || *bytes < 64) {
          return Status::failure("--buffer-cap takes a number of bytes, at least 64 (got \"" +
                                 value + "\")");
        }
        o.bufferCap = *bytes;
        return Status::success();
      });
  addFlagOption(command, "--immediate-replies",
                "start with immediate replies on (^XSET,IMMEDIATE,1 stored)", o.immediateReplies);
  addFlagOption(command, "--no-answers", "answer no status query, even with immediate replies on",
                o.noAnswers);
  addValueOption(
      command, "--idle-timeout", "S", "end a TCP connection that sends nothing for S seconds (30)",
      [&o](const std::string& value) -> Status {
        char* end = nullptr;
        const double seconds = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(seconds >= 0.001 && seconds <= 86400)) {
          return Status::failure("--idle-timeout takes seconds from 0.001 to 86400 (got \"" +
                                 value + "\")");
        }
        o.idleTimeout = seconds;
        return Status::success();
      });
  addFlagOption(command, "--once", "stop after the first job", o.once);
}

}  // namespace

void addPrinterOptions(CLI::App& command, PrinterOptions& o) {
  command.footer(kHowItStops);
  addValueOption(command, "--listen", "HOST:PORT",
                 "a raw network printer (default 127.0.0.1:9100; port 0: any free one)",
                 [&o](const std::string& value) {
                   o.listen = value;
                   o.source = PrinterOptions::Source::Tcp;
                   return Status::success();
                 });
  command.add_flag_callback(
      "--pty", [&o] { o.source = PrinterOptions::Source::Terminal; },
      std::string(kLinuxOnly) + "a serial printer on a new pseudo-terminal; its path is printed");
  addValueOption(
      command, "--input", "PATH",
      std::string(kLinuxOnly) + "jobs from a named pipe (one per writer), a file or - (one job)",
      [&o](const std::string& value) -> Status {
        if (value.empty()) return Status::failure("--input needs a file, a named pipe or -");
        o.inputPath = value;
        o.source = PrinterOptions::Source::File;
        return Status::success();
      });
  addPreviewFolderOption(command, o.previewFolder, "write each label as DIR/jobJ-N.png");
  addFlagOption(command, "--json", "log JSON lines instead of text", o.json);
  addValueOption(command, "--capture", "DIR", "write the bytes of each job as DIR/jobJ.bin",
                 [&o](const std::string& value) -> Status {
                   if (value.empty()) return Status::failure("--capture needs a folder");
                   o.captureFolder = value;
                   return Status::success();
                 });
  addFaultOptions(command, o);
  addPaceOptions(command, o);
  addDrawingOptions(command, o.drawing);
}

Status printerOptionsError(const CLI::App& command, const PrinterOptions& options) {
  int sources = 0;
  for (const char* source : {"--listen", "--pty", "--input"}) {
    if (command.count(source) > 0) ++sources;
  }
  if (sources > 1) return Status::failure("give one of --listen, --pty and --input");
  if (!kLocalInputs && options.source != PrinterOptions::Source::Tcp) {
    return Status::failure(
        "--pty and --input belong to the Linux program; on Windows the virtual printer is a "
        "network printer: --listen HOST:PORT");
  }
  if (options.connectionFault != ConnectionFault::None &&
      options.source != PrinterOptions::Source::Tcp) {
    return Status::failure("--tcp-fault needs a TCP printer (--listen)");
  }
  return Status::success();
}

}  // namespace tagwright::cli::printer
