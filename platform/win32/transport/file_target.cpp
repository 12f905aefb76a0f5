#include <limits>

#include "core/text/utf8.h"
#include "platform/win32/transport/device_map_ports.h"
#include "platform/win32/unique_resource.h"

namespace tagwright {
namespace {

// A file standing for a port: each job is added at its end, as a printer
// would take the jobs one after another; others may read it meanwhile.
class FilePort final : public MappedPort {
 public:
  FilePort(win32::unique_file_handle file, Delivery delivery)
      : file_(std::move(file)), delivery_(std::move(delivery)) {}

  bool write(std::string_view bytes, std::uint32_t& written) override {
    written = 0;
    delivery_.offered += bytes.size();
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return fail(ERROR_INVALID_PARAMETER);
    DWORD count = 0;
    const BOOL ok =
        WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    written = count;
    delivery_.delivered += count;
    if (!ok) return fail(GetLastError());
    if (count != bytes.size()) return fail(ERROR_WRITE_FAULT);
    return true;
  }

  Delivery finish() override {
    if (!CloseHandle(file_.release()) && delivery_.failure.empty()) {
      delivery_.failure = "the file could not be closed (" + std::to_string(GetLastError()) + ")";
    }
    return delivery_;
  }

 private:
  bool fail(DWORD error) {
    if (delivery_.failure.empty()) {
      delivery_.failure = "the file refused the write (" + std::to_string(error) + ")";
    }
    return false;
  }

  win32::unique_file_handle file_;
  Delivery delivery_;
};

}  // namespace

std::unique_ptr<MappedPort> openFileTarget(const std::string& portName, const DeviceTarget& target,
                                           std::uint32_t& error) {
  const std::u16string path = utf8ToUtf16(target.name);
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end.
  win32::unique_file_handle file(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()),
                                             FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return nullptr;
  }
  Delivery delivery;
  delivery.port = portName;
  delivery.target = target.text();
  return std::make_unique<FilePort>(std::move(file), std::move(delivery));
}

}  // namespace tagwright
