#include "core/transport/port_texts.h"

namespace tagwright {
namespace {

// The code is shown as a signed decimal, as the message has always shown it.
std::string withErrorCode(std::string_view first, std::uint32_t error) {
  std::string text(first);
  text += "\r\n";
  text += kErrorCodeLabel;
  text += std::to_string(static_cast<std::int32_t>(error));
  return text;
}

}  // namespace

std::string usbOpenFailedText(std::uint32_t error) {
  return withErrorCode(kPrinterNotConnectedText, error);
}

std::string portOpenFailedText(std::uint32_t error) {
  return withErrorCode(kCannotOpenPortText, error);
}

}  // namespace tagwright
