// libFuzzer entry point over the settings profile file: any bytes as its
// text. A profile that reads must write back as a text that reads as the
// same sections and values; one that does not must name a line of the
// text; every value read as a 32-bit decimal writes back as itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/profile/profile_document.h"

namespace {

bool sameDocuments(const tagwright::cli::ProfileDocument& a,
                   const tagwright::cli::ProfileDocument& b) {
  const auto& x = a.sections();
  const auto& y = b.sections();
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (x[i].name != y[i].name || x[i].values != y[i].values) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright::cli;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ProfileParse profile = parseProfile(text);
  if (!profile) {
    const std::size_t lines =
        1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (profile.error().line < 1 || profile.error().line > lines) __builtin_trap();
    if (profile.error().reason.empty()) __builtin_trap();
  } else {
    const ProfileParse again = parseProfile(formatProfile(profile.value()));
    if (!again || !sameDocuments(again.value(), profile.value())) __builtin_trap();
  }
  // The bytes up to the first line end as one value.
  const std::string_view first = text.substr(0, text.find('\n'));
  if (const std::optional<std::int32_t> value = parseInt32(first)) {
    if (parseInt32(std::to_string(*value)) != value) __builtin_trap();
    const std::string_view digits =
        first.front() == '+' || first.front() == '-' ? first.substr(1) : first;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
      __builtin_trap();
    }
  }
  return 0;
}
