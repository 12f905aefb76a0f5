#include "core/transport/network_printer_texts.h"

namespace tagwright {

std::string printerPlaceText(const std::string& portName, const TcpPrinterAddress& address) {
  return portName + ": the printer at " + address.text();
}

std::string hostNotFoundText(const std::string& place, const std::string& systemText) {
  return place + " cannot be found (" + systemText +
         "); check the host name, or give the printer's address";
}

std::string cannotReachText(const std::string& place, ConnectFailureKind kind,
                            const std::string& systemText, const NetworkTimeouts& timeouts) {
  std::string reason;
  switch (kind) {
    case ConnectFailureKind::TimedOut:
      reason = "no answer within " + secondsText(timeouts.connect) +
               "; check that the printer is on and on the network and that the address is "
               "right, or give it longer with --connect-timeout";
      break;
    case ConnectFailureKind::Unreachable:
      reason = systemText + "; check the address and this machine's network connection";
      break;
    case ConnectFailureKind::Other: reason = systemText + "; check the printer and its address";
  }
  return place + " cannot be reached: " + reason;
}

std::string busyRefusalText(const std::string& place, std::chrono::milliseconds busy) {
  return place + " refuses the connection (busy with another sender?); trying again for up to " +
         secondsText(busy);
}

std::string stillRefusedText(const std::string& place, std::chrono::milliseconds busy) {
  return place + " still refuses the connection after " + secondsText(busy) +
         "; check that nothing else holds it and that the port number is right, or wait "
         "longer with --busy-timeout";
}

std::string sendFailureText(SendFailureKind kind, const std::string& systemText) {
  switch (kind) {
    case SendFailureKind::ClosedByPrinter:
      return "the printer closed the connection in the middle of the job";
    case SendFailureKind::TimedOut:
      return "the printer stopped answering (the connection timed out)";
    case SendFailureKind::Other: break;
  }
  return "the connection failed: " + systemText;
}

std::string brokeAfterTakingText(std::uint64_t taken) {
  return "the printer broke the connection (a reset, not its orderly close) after taking " +
         std::to_string(taken) + " bytes";
}

std::string lastBytesNotTakenText(std::uint64_t count, std::chrono::milliseconds stall) {
  return "the printer took none of the last " + std::to_string(count) + " bytes for " +
         secondsText(stall);
}

}  // namespace tagwright
