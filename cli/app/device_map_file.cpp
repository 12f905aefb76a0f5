#include "cli/app/device_map_file.h"

#include <algorithm>

#include "cli/app/option_values.h"
#include "platform/atomic_file.h"

namespace tagwright::cli {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

Result<DeviceList> parseDeviceMapFile(std::string_view text, const std::string& fileName) {
  DeviceList entries;
  std::string problems;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    const auto bad = [&](const std::string& why) {
      problems +=
          (problems.empty() ? "" : "\n") + fileName + ":" + std::to_string(number) + ": " + why;
    };
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      bad("not PORT = TARGET: \"" + std::string(line) + "\"");
      continue;
    }
    const std::string name(trimmed(line.substr(0, equals)));
    const std::string target(trimmed(line.substr(equals + 1)));
    const std::optional<std::string> port = canonicalPortName(name);
    if (!port) {
      bad("unknown port \"" + name + "\" (LPT1..LPT3, COM1..COM9 or USB)");
    } else if (target.empty()) {
      bad(*port + " has no target");
    } else if (std::any_of(entries.begin(), entries.end(),
                           [&](const auto& entry) { return entry.first == *port; })) {
      bad(*port + " is given twice");
    } else {
      entries.emplace_back(*port, target);
    }
  }
  if (!problems.empty()) return Result<DeviceList>::failure(problems);
  return entries;
}

std::string deviceMapFileText(const DeviceList& entries) {
  std::string text = "# tagwright devices: PORT = TARGET, one a line\n";
  for (const auto& [port, target] : entries) text += port + " = " + target + "\n";
  return text;
}

DeviceList withEntry(DeviceList entries, const std::string& port, const std::string& target) {
  for (auto& entry : entries) {
    if (entry.first == port) {
      entry.second = target;
      return entries;
    }
  }
  entries.emplace_back(port, target);
  return entries;
}

DeviceList withoutEntry(DeviceList entries, const std::string& port) {
  std::erase_if(entries, [&](const auto& entry) { return entry.first == port; });
  return entries;
}

DeviceList underDevices(const DeviceList& saved, const DeviceList& given) {
  DeviceList merged = saved;
  for (const auto& [port, target] : given) merged = withEntry(std::move(merged), port, target);
  return merged;
}

Result<DeviceList> FileDeviceMapStore::read() const {
  FileRead file = readWholeFile(path_);
  if (!file) return Result<DeviceList>::failure(file.error());
  if (!file.value()) return DeviceList{};
  return parseDeviceMapFile(*file.value(), path_);
}

Status FileDeviceMapStore::write(const DeviceList& entries) {
  return writeFileAtomically(path_, deviceMapFileText(entries));
}

Status FileDeviceMapStore::accepts(const std::string& target) const {
  if (target.find('\n') != std::string::npos) return Status::failure("a target is one line");
  return Status::success();
}

}  // namespace tagwright::cli
