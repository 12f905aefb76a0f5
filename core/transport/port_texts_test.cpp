#include "core/transport/port_texts.h"

#include <gtest/gtest.h>

#include <string_view>

#include "platform/posix/iconv_code_pages.h"

namespace tagwright {
namespace {

TEST(PortTexts, AreTheRussianMessagesInWindows1251) {
  const IconvCodePages cp1251;
  EXPECT_EQ(cp1251.fromAnsi(kUsbPrinterNotFoundText), u"USB принтер не найден...");
  EXPECT_EQ(cp1251.fromAnsi(kPrinterNotConnectedText), u"Принтер не подключен!");
  EXPECT_EQ(cp1251.fromAnsi(portOpenFailedText(2)), u"Не возможно открыть порт.\r\nКод ошибки: 2");
  EXPECT_EQ(cp1251.fromAnsi(usbOpenFailedText(1167)), u"Принтер не подключен!\r\nКод ошибки: 1167");
  for (std::string_view text :
       {kUsbPrinterNotFoundText, kPrinterNotConnectedText, kCannotOpenPortText, kErrorCodeLabel}) {
    EXPECT_EQ(cp1251.toAnsi(cp1251.fromAnsi(text)), text) << "one byte per letter, no '?'";
  }
}

}  // namespace
}  // namespace tagwright
