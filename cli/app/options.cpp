#include "cli/app/options.h"

#include <algorithm>
#include <cctype>

namespace tagwright::cli {
namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool takesValue(const std::string& name) {
  return name == "--profile" || name == "--device" || name == "--output" ||
         name == "--on-port-error" || name == "--ansi" || name == "--oem" || name == "--dpi" ||
         name == "--images" || name == "--font" || name == "--preview" || name == "--format" ||
         name == "--connect-timeout" || name == "--busy-timeout" || name == "--write-timeout" ||
         name == "--status-timeout";
}

std::optional<std::string> applySeconds(std::optional<std::chrono::milliseconds>& field,
                                        const std::string& name, const std::string& value) {
  field = parseSeconds(value);
  if (field) return std::nullopt;
  return name + " takes seconds, e.g. " + name + " 5 or " + name + " 0.5 (got \"" + value + "\")";
}

std::optional<std::string> apply(Options& o, const std::string& name, const std::string& value) {
  if (name == "--profile") {
    if (value.empty()) return std::string("--profile needs a file name");
    o.profile = value;
  } else if (name == "--output") {
    if (value.empty()) return std::string("--output needs a file name, or - for standard output");
    o.output = value;
  } else if (name == "--device") {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals + 1 == value.size()) {
      return "--device takes NAME=PATH, e.g. --device COM1=/dev/ttyUSB0 or "
             "--device COM1=tcp://10.0.0.7 (got \"" +
             value + "\")";
    }
    std::optional<std::string> port = canonicalPortName(value.substr(0, equals));
    if (!port) {
      return "--device: unknown port \"" + value.substr(0, equals) +
             "\" (LPT1..LPT3, COM1..COM9 or USB)";
    }
    for (auto& [existing, path] : o.devices) {
      if (existing == *port) return "--device: " + *port + " is given twice";
    }
    o.devices.emplace_back(*port, value.substr(equals + 1));
  } else if (name == "--on-port-error") {
    if (value == "abort") o.onPortError = PortErrorPolicy::Abort;
    else if (value == "retry") o.onPortError = PortErrorPolicy::Retry;
    else if (value == "ignore") o.onPortError = PortErrorPolicy::Ignore;
    else return "--on-port-error takes abort, retry or ignore (got \"" + value + "\")";
  } else if (name == "--connect-timeout") {
    return applySeconds(o.connectTimeout, name, value);
  } else if (name == "--busy-timeout") {
    return applySeconds(o.busyTimeout, name, value);
  } else if (name == "--write-timeout") {
    return applySeconds(o.writeTimeout, name, value);
  } else if (name == "--status-timeout") {
    return applySeconds(o.statusTimeout, name, value);
  } else if (name == "--ansi") {
    if (value.empty()) return std::string("--ansi needs a code page name");
    o.ansi = value;
  } else if (name == "--oem") {
    if (value.empty()) return std::string("--oem needs a code page name");
    o.oem = value;
  } else if (name == "--dpi") {
    // Printers have 8 or 12 dots per millimetre, sold as 203 and 300 dpi.
    if (value == "203") o.dotsPerMm = 8;
    else if (value == "300") o.dotsPerMm = 12;
    else return "--dpi takes 203 or 300 (got \"" + value + "\")";
  } else if (name == "--images") {
    if (value.empty()) return std::string("--images needs a folder");
    o.images = value;
  } else if (name == "--font") {
    if (value.empty()) return std::string("--font needs a font file");
    o.font = value;
  } else if (name == "--format") {
    if (value != "text" && value != "json" && value != "sarif") {
      return "--format takes text, json or sarif (got \"" + value + "\")";
    }
    o.format = value;
  } else if (name == "--preview") {
    if (value.empty()) return std::string("--preview needs a folder for the pictures");
    o.previewFolder = value;
  }
  return std::nullopt;
}

// What is wrong with the command and its operands, if anything.
// check, and run --check: their options belong to them alone.
std::optional<std::string> checkOptionsError(const Options& o) {
  if (o.command == "check" && o.operands.empty()) return "check needs at least one script file";
  if (o.check && o.command != "run") {
    return "--check belongs to run; the check command always checks";
  }
  if (o.check && std::find(o.operands.begin(), o.operands.end(), "-") != o.operands.end()) {
    return "run --check reads each script twice: give a file, not standard input";
  }
  if (o.format != "text" && o.command != "check") return "--format belongs to check";
  if (o.strict && o.command != "check" && !o.check) {
    return "--strict belongs to check and run --check";
  }
  return std::nullopt;
}

std::optional<std::string> commandError(const Options& o) {
  if (o.command.empty()) {
    return "no command given (see tagwright --help)";
  }
  if (o.command != "run" && o.command != "settings" && o.command != "names" &&
      o.command != "dump" && o.command != "preview" && o.command != "devices" &&
      o.command != "check" && o.command != "status" && o.command != "printer") {
    return "unknown command \"" + o.command +
           "\" (run, settings, names, dump, preview, check, devices, status or printer)";
  }
  if (o.command == "status" && o.operands.size() > 1) {
    return "status takes at most one port name (COM1, LPT1, USB, ...)";
  }
  if (o.confirm && o.command != "run") return "--confirm belongs to run";
  if (o.command == "run" && o.operands.empty()) {
    return "run needs at least one script file";
  }
  if (o.command == "dump" && o.operands.size() != 1) {
    return "dump takes one file (- for standard input)";
  }
  if ((o.command == "names" || o.command == "devices") && !o.operands.empty()) {
    return o.command + " takes no operands";
  }
  if (o.command == "preview" && o.operands.empty()) {
    return "preview needs at least one script (.tws) or printer job file";
  }
  if (o.command == "preview" && o.output && endsWithPng(*o.output) && o.operands.size() != 1) {
    return "--output " + *o.output +
           " names one picture, for one input with one label: give a folder instead";
  }
  if (o.previewFolder && o.command != "run") {
    return "--preview belongs to run; the preview command writes to --output";
  }
  return checkOptionsError(o);
}

}  // namespace

bool endsWithPng(const std::string& path) {
  return path.size() > 4 && upper(path.substr(path.size() - 4)) == ".PNG";
}

std::optional<std::chrono::milliseconds> parseSeconds(const std::string& text) {
  constexpr long long kDayMs = 24LL * 60 * 60 * 1000;
  long long whole = 0;
  long long fraction = 0;
  int decimals = 0;
  bool point = false;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (!point) {
        whole = whole * 10 + (c - '0');
        if (whole * 1000 > kDayMs) return std::nullopt;
      } else if (++decimals > 3) {
        return std::nullopt;
      } else {
        fraction = fraction * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  for (int d = decimals; d < 3; ++d) fraction *= 10;
  const long long ms = whole * 1000 + fraction;
  if (!digits || ms <= 0 || ms > kDayMs) return std::nullopt;
  return std::chrono::milliseconds(ms);
}

std::optional<std::string> canonicalPortName(const std::string& name) {
  const std::string u = upper(name);
  if (u == "USB") return u;
  if (u.size() == 4 && (u.rfind("LPT", 0) == 0 || u.rfind("COM", 0) == 0)) {
    const char digit = u[3];
    if (u[0] == 'L' && digit >= '1' && digit <= '3') return u;
    if (u[0] == 'C' && digit >= '1' && digit <= '9') return u;
  }
  return std::nullopt;
}

OptionsParse parseOptions(const std::vector<std::string>& args) {
  Options o;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (o.command == "printer") {  // the virtual printer reads its own options
      o.operands.push_back(arg);
      continue;
    }
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg != "-") {
      std::string name = arg;
      std::optional<std::string> value;
      if (const std::size_t equals = arg.find('=');
          arg.rfind("--", 0) == 0 && equals != std::string::npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
      if (name == "--help" || name == "-h") {
        o.help = true;
      } else if (name == "--version") {
        o.version = true;
      } else if (name == "--raw") {
        o.raw = true;
      } else if (name == "--quiet" || name == "-q") {
        o.quiet = true;
      } else if (name == "--wait") {
        o.wait = true;
      } else if (name == "--strict") {
        o.strict = true;
      } else if (name == "--check") {
        o.check = true;
      } else if (name == "--confirm") {
        o.confirm = true;
      } else if (takesValue(name)) {
        if (!value) {
          if (i + 1 >= args.size()) return OptionsParse::failure(name + " needs a value");
          value = args[++i];
        }
        if (auto error = apply(o, name, *value)) return OptionsParse::failure(std::move(*error));
      } else {
        return OptionsParse::failure("unknown option " + name + " (see tagwright --help)");
      }
      continue;
    }
    if (o.command.empty()) {
      o.command = arg;
    } else {
      o.operands.push_back(arg);
    }
  }
  if (o.help || o.version) return o;
  if (std::optional<std::string> error = commandError(o)) {
    return OptionsParse::failure(std::move(*error));
  }
  return o;
}

std::string usageText() {
  return R"(Usage:
  tagwright [OPTIONS] run SCRIPT...        run label scripts through the component
  tagwright [OPTIONS] settings [KEY=VALUE...]
                                           show the twenty settings, or set some
  tagwright names                          list the properties and methods
  tagwright devices                        what this machine can print to, with the --device text
  tagwright [--raw] [OPTIONS] dump FILE    show a command stream, one command a line
  tagwright [OPTIONS] preview FILE...      draw every label as a PNG picture, print nothing;
                                           FILE.tws is a script, any other file a printer job
  tagwright [OPTIONS] check SCRIPT...      find a script's mistakes, print nothing
  tagwright [OPTIONS] status [PORT]        ask the printer behind a port how it is
  tagwright printer [PRINTER OPTIONS]      a virtual printer (see tagwright printer --help)
  tagwright --help | --version

Options:
  --profile FILE          the settings profile (default $XDG_CONFIG_HOME/tagwright/profile,
                          or ~/.config/tagwright/profile)
  --output FILE           append every print job to FILE instead of a port (- for stdout)
  --device NAME=PATH      put a device or file behind a port: LPT1..LPT3, COM1..COM9, USB;
                          PATH may be tcp://HOST[:PORT], a raw network printer (port 9100),
                          or cups:QUEUE[@HOST[:PORT]], a CUPS queue (jobs sent raw)
  --wait                  CUPS queues: follow each job until it has completed or failed
  --connect-timeout S     network printer: give up one connection attempt after S seconds (5)
  --busy-timeout S        network printer: keep trying one that refuses, busy, for S seconds (60)
  --write-timeout S       network printer: end a job that makes no progress for S seconds (30)
  --quiet, -q             no progress lines on the terminal
  --confirm               run: after each job, ask the printer until it has printed it
  --status-timeout S      status, --confirm: wait S seconds for an answer (2)
  --on-port-error abort|retry|ignore
                          what to do when a port cannot be opened; without it the
                          program asks on the terminal, and aborts when there is none
  --ansi CP, --oem CP     the printer code pages (default CP1251 and CP866)
  --raw                   dump: show bytes above 127 as \xNN instead of decoding them
  --output DIR|FILE.png   preview: where the pictures go (default: the current folder)
  --preview DIR           run: also draw every label it sends, as pictures in DIR
  --dpi 203|300           the printer's resolution for pictures (default 203)
  --images DIR            where pictures find the printer's stored images (Y NAME)
  --font FILE             the font that pictures draw printer fonts in
  --format text|json|sarif
                          check: how findings are shown (default text; sarif is SARIF 2.1.0)
  --strict                check: warnings fail the check too
  --check                 run: check the scripts first; run nothing when the check fails

Exit status: 0 all jobs written; 1 script error, nothing printed; 2 usage error;
3 settings profile error; 4 some print jobs dropped or not delivered whole (preview:
a label could not be drawn or a picture not written; status and --confirm: the
printer reports a fault; --confirm: a job not confirmed printed). check: 0 nothing
found (or warnings only, without --strict), 1 the check failed. 5 status: the
printer did not answer.
)";
}

}  // namespace tagwright::cli
