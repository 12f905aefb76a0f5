#include "core/transport/printer_port.h"

#include "core/transport/port_texts.h"

namespace tagwright {
namespace {

// Presence test of a serial printer: a printer holds at least one of the
// modem lines on. A port that cannot report its lines is assumed to have one.
bool serialPrinterAbsent(PortLayer& layer, PortHandle port) {
  std::uint32_t status = 0;
  return layer.getModemStatus(port, status) && status == 0;
}

// 9600 baud, 8 data bits, no parity, one stop bit; every other field of the
// state stays as the port reported it. Failures are not reported.
void setUpSerialLine(PortLayer& layer, PortHandle port) {
  CommState state;
  layer.getCommState(port, state);
  layer.setupQueues(port, kSerialQueueSize, kSerialQueueSize);
  state.baudRate = kSerialBaudRate;
  state.byteSize = kSerialByteSize;
  state.parity = kNoParity;
  state.stopBits = kOneStopBit;
  layer.setCommState(port, state);
  layer.setCommMask(port, kEventRxChar | kEventBreak);
  layer.purge(port, kPurgeTxClear | kPurgeRxClear);
}

// A parallel printer is taken as present when one zero byte can be written.
bool parallelTestWriteFails(PortLayer& layer, PortHandle port) {
  std::uint32_t written = 0;
  return !layer.write(port, std::string_view("\0", 1), written);
}

PortHandle openWaitingWhileHeld(PortLayer& layer, Sleeper& sleeper, const std::string& name,
                                std::uint32_t& error) {
  for (;;) {
    PortHandle port = layer.open(name, error);
    if (port != kInvalidPort || error != kErrorAccessDenied) return port;
    sleeper.sleepFor(kAccessDeniedRetryDelay);
  }
}

}  // namespace

std::string portNameForIndex(std::int32_t index) {
  if (index >= 0 && index <= 2) return "LPT" + std::to_string(index + 1);
  if (index >= 3 && index <= 11) return "COM" + std::to_string(index - 2);
  if (index == kUsbPortIndex) return {};
  return "LPT1";
}

std::string findUsbPrinterPath(PortLayer& layer) {
  std::string found;
  for (std::string& path : layer.usbDevicePaths()) {
    if (path.find(kUsbPrinterIds) != std::string::npos) found = std::move(path);
  }
  return found;
}

PortHandle OpenPrinterPort(PortLayer& layer, Sleeper& sleeper, std::int32_t index,
                           std::string& errorText) {
  const std::string name =
      index == kUsbPortIndex ? findUsbPrinterPath(layer) : portNameForIndex(index);
  if (name.empty()) {
    errorText = kUsbPrinterNotFoundText;
    return kInvalidPort;
  }

  std::uint32_t error = 0;
  OpenedPrinterPort port(layer, index, openWaitingWhileHeld(layer, sleeper, name, error));
  if (!port) {
    errorText = index == kUsbPortIndex ? usbOpenFailedText(error) : portOpenFailedText(error);
    return kInvalidPort;
  }

  CommTimeouts timeouts;
  layer.getTimeouts(port.get(), timeouts);
  layer.setTimeouts(port.get(), kPortTimeouts);

  // A mapped port has no line to set up or to test.
  if (!layer.isLocalPort(port.get())) return port.release();

  // On each failure below the port closes itself on the way out.
  if (usesSerialSetUp(index)) {
    if (serialPrinterAbsent(layer, port.get())) {
      errorText = kPrinterNotConnectedText;
      return kInvalidPort;
    }
    setUpSerialLine(layer, port.get());
  }
  if (usesParallelTestWrite(index) && parallelTestWriteFails(layer, port.get())) {
    errorText = kPrinterNotConnectedText;
    return kInvalidPort;
  }
  return port.release();
}

void ClosePrinterPort(PortLayer& layer, std::int32_t index, PortHandle port) {
  if (port == kInvalidPort) return;
  if (usesBreakOnClose(index)) layer.setBreak(port);
  layer.close(port);
}

}  // namespace tagwright
