#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tagwright {

// Failure texts of the port logic, in Windows-1251 as the user sees them.
// Russian letters are written as their single-byte codes.

// "USB принтер не найден..."
inline constexpr std::string_view kUsbPrinterNotFoundText =
    "USB \xef\xf0\xe8\xed\xf2\xe5\xf0 \xed\xe5 \xed\xe0\xe9\xe4\xe5\xed...";

// "Принтер не подключен!"
inline constexpr std::string_view kPrinterNotConnectedText =
    "\xcf\xf0\xe8\xed\xf2\xe5\xf0 \xed\xe5 \xef\xee\xe4\xea\xeb\xfe\xf7\xe5\xed!";

// "Не возможно открыть порт."
inline constexpr std::string_view kCannotOpenPortText =
    "\xcd\xe5 \xe2\xee\xe7\xec\xee\xe6\xed\xee \xee\xf2\xea\xf0\xfb\xf2\xfc \xef\xee\xf0\xf2.";

// "Код ошибки: "
inline constexpr std::string_view kErrorCodeLabel = "\xca\xee\xe4 \xee\xf8\xe8\xe1\xea\xe8: ";

// "Принтер не подключен!\r\nКод ошибки: <code>" (the USB printer's open failed).
std::string usbOpenFailedText(std::uint32_t error);
// "Не возможно открыть порт.\r\nКод ошибки: <code>" (an LPT or COM open failed).
std::string portOpenFailedText(std::uint32_t error);

}  // namespace tagwright
