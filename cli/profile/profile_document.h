#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/util/result.h"

namespace tagwright::cli {

// The text form of the settings profile: sections of integer values,
//
//   # comment
//   [Printer Tagwright]
//   LabelSize = 25
//
// Every value is a 32-bit decimal integer, which is all the component
// stores. Sections and keys keep their order when the file is rewritten;
// comments are not kept.
struct ProfileSection {
  std::string name;
  std::vector<std::pair<std::string, std::int32_t>> values;
};

class ProfileDocument {
 public:
  std::optional<std::int32_t> find(std::string_view section, std::string_view key) const;
  // Returns true when the stored value changed (or is new).
  bool set(std::string_view section, std::string_view key, std::int32_t value);
  const std::vector<ProfileSection>& sections() const { return sections_; }

 private:
  ProfileSection& sectionNamed(std::string_view name);
  std::vector<ProfileSection> sections_;
};

struct ProfileFault {
  std::size_t line;  // from 1
  std::string reason;
};

// The document, or the first line that makes the text unreadable.
using ProfileParse = Result<ProfileDocument, ProfileFault>;

// Strict: a line that is not blank, a comment ('#' or ';'), a [section] or
// a "key = integer" inside a section makes the whole text unreadable, and
// so does a key given twice in one section.
ProfileParse parseProfile(std::string_view text);
std::string formatProfile(const ProfileDocument& document);

// A strict 32-bit decimal: optional sign, digits, nothing else.
std::optional<std::int32_t> parseInt32(std::string_view text);

}  // namespace tagwright::cli
