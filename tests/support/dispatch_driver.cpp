#include "support/dispatch_driver.h"

namespace tagwright::testing {

std::uint8_t DispatchDriver::byte() { return pos_ < size_ ? data_[pos_++] : 0; }

std::int32_t DispatchDriver::number() {
  switch (byte() % 4) {
    case 0: return static_cast<std::int8_t>(byte());
    case 1: return static_cast<std::int16_t>(byte() << 8 | byte());
    case 2:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(byte()) << 24 |
                                       static_cast<std::uint32_t>(byte()) << 16 |
                                       static_cast<std::uint32_t>(byte()) << 8 | byte());
    default: return byte() % 2 ? INT32_MIN : INT32_MAX;
  }
}

std::u16string DispatchDriver::text() {
  // Mostly short texts from an alphabet that includes line breaks, zero,
  // Cyrillic, characters without a code-page mapping and lone surrogates;
  // sometimes long ones.
  static const char16_t kAlphabet[] = {u'A', u'z', u' ', u'\r', u'\n',  u'\0',  u'2', u',',
                                       u'Ж', u'я', u'€', u'日', 0xD800, 0xDC00, u'T', u'q'};
  std::size_t length = byte();
  if (length == 255) length = 3000;
  std::u16string s;
  for (std::size_t i = 0; i < length; ++i) s += kAlphabet[byte() % 16];
  return s;
}

ScriptValue DispatchDriver::value() {
  switch (byte() % 8) {
    case 0:
    case 1:
    case 2: return ScriptValue::int32(number());
    case 3:
    case 4: return ScriptValue::text(text());
    case 5: return ScriptValue::real(static_cast<double>(number()) * 1.37e3);
    case 6: return ScriptValue::boolean(byte() % 2 != 0);
    default: return byte() % 2 ? ScriptValue() : ScriptValue::other();
  }
}

void DispatchDriver::step(AddIn& addIn) {
  const std::uint8_t kind = byte() % 4;
  const std::int32_t number = static_cast<std::int8_t>(byte()) % 24;
  ScriptArgs args;
  const std::size_t count = byte() % 10;
  for (std::size_t i = 0; i < count; ++i) args.push_back(value());
  ScriptValue result;
  switch (kind) {
    case 0: addIn.setProperty(number, args.empty() ? ScriptValue::int32(0) : args[0]); break;
    case 1: addIn.callAsFunc(number, result, args); break;
    default: addIn.callAsProc(number, args); break;
  }
}

std::string checkCommandText(const std::string& text) {
  if (text.find('\n') != std::string::npos) return "a line feed in the command text";
  if (!text.empty() && text.back() != '\r') return "the text does not end with a carriage return";
  return {};
}

}  // namespace tagwright::testing
