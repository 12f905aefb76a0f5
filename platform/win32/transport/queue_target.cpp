#include "platform/win32/unique_resource.h"

#include <winspool.h>

#include <atomic>
#include <limits>

#include "core/text/utf8.h"
#include "platform/win32/transport/device_map_ports.h"
#include "platform/win32/wide_text.h"

namespace tagwright {
namespace {

using PrinterHandle = win32::unique_resource<HANDLE, &::ClosePrinter>;

// The jobs of this process, numbered for their document names.
std::atomic<unsigned> jobNumber{0};

// One RAW document in a printer queue: the spooler takes the bytes as they
// come and prints the document once it ends; a document that failed is
// deleted instead of being printed in part.
class QueuePort final : public MappedPort {
 public:
  QueuePort(PrinterHandle printer, Delivery delivery)
      : printer_(std::move(printer)), delivery_(std::move(delivery)) {}

  ~QueuePort() override {
    if (printer_) EndDocPrinter(printer_.get());
  }

  bool write(std::string_view bytes, std::uint32_t& written) override {
    written = 0;
    delivery_.offered += bytes.size();
    if (!delivery_.failure.empty()) return false;
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return fail(ERROR_INVALID_PARAMETER);
    DWORD count = 0;
    if (!WritePrinter(printer_.get(), const_cast<char*>(bytes.data()),
                      static_cast<DWORD>(bytes.size()), &count)) {
      return fail(GetLastError());
    }
    written = count;
    delivery_.delivered += count;
    return count == bytes.size() || fail(ERROR_WRITE_FAULT);
  }

  Delivery finish() override {
    if (!delivery_.failure.empty()) {
      // The spooler holds the document until it ends; a cut-off one is
      // taken out of the queue instead.
      SetJobW(printer_.get(), jobId_, 0, nullptr, JOB_CONTROL_DELETE);
    }
    if (!EndPagePrinter(printer_.get()) && delivery_.failure.empty()) fail(GetLastError());
    if (!EndDocPrinter(printer_.get()) && delivery_.failure.empty()) fail(GetLastError());
    printer_.reset();
    return delivery_;
  }

  void setJobId(DWORD id) { jobId_ = id; }

 private:
  bool fail(DWORD error) {
    if (delivery_.failure.empty()) {
      delivery_.failure = "the printer queue refused the job (" + std::to_string(error) + ")";
    }
    return false;
  }

  PrinterHandle printer_;
  Delivery delivery_;
  DWORD jobId_ = 0;
};

}  // namespace

std::unique_ptr<MappedPort> openQueueTarget(const std::string& portName, const DeviceTarget& target,
                                            std::uint32_t& error) {
  std::wstring name = win32::utf8ToWide(target.name);
  HANDLE opened = nullptr;
  if (!OpenPrinterW(name.data(), &opened, nullptr)) {
    error = GetLastError();
    return nullptr;
  }
  PrinterHandle printer(opened);
  // Documents are named after their port and their number in this process,
  // as the queue lists them.
  std::wstring document =
      L"Tagwright " + win32::utf8ToWide(portName) + L" job " + std::to_wstring(++jobNumber);
  std::wstring dataType = L"RAW";
  DOC_INFO_1W info{document.data(), nullptr, dataType.data()};
  const DWORD jobId = StartDocPrinterW(printer.get(), 1, reinterpret_cast<LPBYTE>(&info));
  if (jobId == 0) {
    error = GetLastError();
    return nullptr;
  }
  if (!StartPagePrinter(printer.get())) {
    error = GetLastError();
    EndDocPrinter(printer.get());
    return nullptr;
  }
  Delivery delivery;
  delivery.port = portName;
  delivery.target = target.text();
  // The spooler says how much it took, not how much the printer printed.
  auto port = std::make_unique<QueuePort>(std::move(printer), std::move(delivery));
  port->setJobId(jobId);
  return port;
}

}  // namespace tagwright
