#pragma once

#include <string>
#include <string_view>

#include "cli/app/command_options.h"
#include "core/util/result.h"

namespace tagwright::cli {

// The saved device map: the ports this user has put a device behind, so
// that run and status need no --device each time. One entry a line,
// "PORT = TARGET"; blank lines and lines starting with '#' are ignored.
// A failure lists every line that is not an entry, with its number.
Result<DeviceList> parseDeviceMapFile(std::string_view text, const std::string& fileName);

// The file's text for `entries`, in the order given.
std::string deviceMapFileText(const DeviceList& entries);

// `entries` with `port` put behind `target` (replacing its entry, if any),
// or with the entry of `port` taken out.
DeviceList withEntry(DeviceList entries, const std::string& port, const std::string& target);
DeviceList withoutEntry(DeviceList entries, const std::string& port);

// The saved map under `given`: each --device wins over the saved entry of
// its port.
DeviceList underDevices(const DeviceList& saved, const DeviceList& given);

// Where a back end keeps the saved map: a file on Linux, the user's
// registry key on Windows.
class DeviceMapStore {
 public:
  virtual ~DeviceMapStore() = default;
  // Nothing saved is an empty list; a store that cannot be read fails.
  virtual Result<DeviceList> read() const = 0;
  virtual Status write(const DeviceList& entries) = 0;
  // Checks a target before it is saved.
  virtual Status accepts(const std::string& target) const = 0;
  // Where the map is kept, as the user would look for it.
  virtual std::string where() const = 0;
};

// The saved map in a file (Linux: ~/.config/tagwright/devices).
class FileDeviceMapStore final : public DeviceMapStore {
 public:
  explicit FileDeviceMapStore(std::string path) : path_(std::move(path)) {}
  Result<DeviceList> read() const override;
  Status write(const DeviceList& entries) override;
  Status accepts(const std::string& target) const override;
  std::string where() const override { return path_; }

 private:
  std::string path_;
};

}  // namespace tagwright::cli
