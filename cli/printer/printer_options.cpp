#include "cli/printer/printer_options.h"

#include <cstdlib>

namespace tagwright::cli::printer {
namespace {

bool takesValue(const std::string& name) {
  for (const char* known :
       {"--listen", "--input", "--preview", "--state", "--fault", "--tcp-fault", "--close-after",
        "--speed-factor", "--buffer-cap", "--dpi", "--images", "--font", "--ansi", "--oem"}) {
    if (name == known) return true;
  }
  return false;
}

std::optional<unsigned long long> wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 12 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoull(text);
}

std::optional<std::string> apply(PrinterOptions& o, const std::string& name,
                                 const std::string& value, bool& sourceGiven) {
  const auto chooseSource = [&](PrinterOptions::Source source) -> std::optional<std::string> {
    if (sourceGiven && o.source != source) {
      return std::string("give one of --listen, --pty and --input");
    }
    sourceGiven = true;
    o.source = source;
    return std::nullopt;
  };
  if (name == "--listen") {
    o.listen = value;
    return chooseSource(PrinterOptions::Source::kTcp);
  }
  if (name == "--input") {
    if (value.empty()) return std::string("--input needs a file, a named pipe or -");
    o.inputPath = value;
    return chooseSource(PrinterOptions::Source::kFile);
  }
  if (name == "--preview") {
    if (value.empty()) return std::string("--preview needs a folder for the pictures");
    o.previewFolder = value;
  } else if (name == "--state") {
    Result<StatusCode> state = parseFaultState(value);
    if (!state) return "--state: " + state.error();
    o.state = state.value();
  } else if (name == "--fault") {
    Result<FaultRule> rule = parseFaultRule(value);
    if (!rule) return rule.error();
    o.faults.push_back(rule.value());
  } else if (name == "--tcp-fault") {
    Result<ConnectionFault> fault = parseConnectionFault(value);
    if (!fault) return "--tcp-fault: " + fault.error();
    o.connectionFault = fault.value();
  } else if (name == "--close-after") {
    const auto bytes = wholeNumber(value);
    if (!bytes || *bytes == 0)
      return "--close-after takes a number of bytes (got \"" + value + "\")";
    o.closeAfter = *bytes;
  } else if (name == "--buffer-cap") {
    const auto bytes = wholeNumber(value);
    if (!bytes || *bytes < 64) {
      return "--buffer-cap takes a number of bytes, at least 64 (got \"" + value + "\")";
    }
    o.bufferCap = *bytes;
  } else if (name == "--speed-factor") {
    char* end = nullptr;
    const double factor = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(factor >= 0.01 && factor <= 1000000)) {
      return "--speed-factor takes a number from 0.01 to 1000000 (got \"" + value + "\")";
    }
    o.speedFactor = factor;
  } else if (name == "--dpi") {
    if (value == "203") o.dotsPerMm = 8;
    else if (value == "300") o.dotsPerMm = 12;
    else return "--dpi takes 203 or 300 (got \"" + value + "\")";
  } else if (name == "--images") {
    o.images = value;
  } else if (name == "--font") {
    o.font = value;
  } else if (name == "--ansi") {
    o.ansi = value;
  } else if (name == "--oem") {
    o.oem = value;
  }
  return std::nullopt;
}

}  // namespace

Result<PrinterOptions> parsePrinterOptions(const std::vector<std::string>& args,
                                           PrinterOptions defaults) {
  using Parsed = Result<PrinterOptions>;
  PrinterOptions o = std::move(defaults);
  bool sourceGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const std::size_t equals = name.find('=');
        name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (name == "--pty") {
      if (sourceGiven && o.source != PrinterOptions::Source::kTerminal) {
        return Parsed::failure("printer: give one of --listen, --pty and --input");
      }
      sourceGiven = true;
      o.source = PrinterOptions::Source::kTerminal;
    } else if (name == "--json") {
      o.json = true;
    } else if (name == "--immediate-replies") {
      o.immediateReplies = true;
    } else if (name == "--once") {
      o.once = true;
    } else if (takesValue(name)) {
      if (!value) {
        if (i + 1 >= args.size()) return Parsed::failure("printer: " + name + " needs a value");
        value = args[++i];
      }
      if (auto error = apply(o, name, *value, sourceGiven))
        return Parsed::failure("printer: " + *error);
    } else {
      return Parsed::failure("printer: unknown option " + args[i] +
                             " (see tagwright printer --help)");
    }
  }
  if (o.connectionFault != ConnectionFault::kNone && o.source != PrinterOptions::Source::kTcp) {
    return Parsed::failure("printer: --tcp-fault needs a TCP printer (--listen)");
  }
  return o;
}

std::string printerUsage() {
  return R"(Usage: tagwright printer [--listen HOST:PORT | --pty | --input FILE|PIPE|-] [OPTIONS]

A virtual label printer: takes jobs, draws every label, answers status queries.
  --listen HOST:PORT      a raw network printer (default 127.0.0.1:9100; port 0: any free one)
  --pty                   a serial printer on a new pseudo-terminal; its path is printed
  --input PATH            jobs from a named pipe (one per writer), a file or - (one job)
  --preview DIR           write each label as DIR/jobJ-N.png
  --json                  log JSON lines instead of text
  --immediate-replies     start with immediate replies on (^XSET,IMMEDIATE,1 stored)
  --speed-factor F        print F times faster than the stream's ^S and label length say
  --state STATE           a fault from the start: media-empty, head-open, ribbon-empty,
                          paused, cutter-jam, media-jam, head-too-hot, rewinder-full,
                          label-not-taken
  --fault "after N labels: STATE"
                          N labels print, the next one meets STATE (may be repeated)
  --tcp-fault KIND        refuse, stop-reading, close-mid-job (after --close-after BYTES,
                          default 16) or never-close
  --buffer-cap BYTES      the most bytes held without a whole label (default 16 MiB)
  --once                  stop after the first job
  --dpi 203|300, --images DIR, --font FILE, --ansi CP, --oem CP
                          how the labels are drawn, as for preview
Stops on SIGINT or SIGTERM, or when a file or standard input ends.
)";
}

}  // namespace tagwright::cli::printer
