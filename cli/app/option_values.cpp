#include "cli/app/option_values.h"

#include <cctype>

namespace tagwright::cli {
namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::optional<std::chrono::milliseconds> parseSeconds(const std::string& text) {
  constexpr long long kDayMs = 24LL * 60 * 60 * 1000;
  long long whole = 0;
  long long fraction = 0;
  int decimals = 0;
  bool point = false;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (!point) {
        whole = whole * 10 + (c - '0');
        if (whole * 1000 > kDayMs) return std::nullopt;
      } else if (++decimals > 3) {
        return std::nullopt;
      } else {
        fraction = fraction * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  for (int d = decimals; d < 3; ++d) fraction *= 10;
  const long long ms = whole * 1000 + fraction;
  if (!digits || ms <= 0 || ms > kDayMs) return std::nullopt;
  return std::chrono::milliseconds(ms);
}

std::optional<std::string> canonicalPortName(const std::string& name) {
  const std::string u = upper(name);
  if (u == "USB") return u;
  if (u.size() == 4 && (u.rfind("LPT", 0) == 0 || u.rfind("COM", 0) == 0)) {
    const char digit = u[3];
    if (u[0] == 'L' && digit >= '1' && digit <= '3') return u;
    if (u[0] == 'C' && digit >= '1' && digit <= '9') return u;
  }
  return std::nullopt;
}

}  // namespace tagwright::cli
