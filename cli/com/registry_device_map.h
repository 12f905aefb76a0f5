#pragma once

#include "cli/app/device_map_file.h"

namespace tagwright::cli {

// The user's device map in HKEY_CURRENT_USER\Software\Tagwright\Devices, one
// string value per port, which the component reads at every open (after a
// program's own map, before the machine's entries). Only tcp://, printer:
// and file: targets are saved.
class RegistryDeviceMapStore final : public DeviceMapStore {
 public:
  Result<DeviceList> read() const override;
  Status write(const DeviceList& entries) override;
  Status accepts(const std::string& target) const override;
  std::string where() const override;
};

}  // namespace tagwright::cli
