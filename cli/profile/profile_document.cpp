#include "cli/profile/profile_document.h"

#include <limits>

namespace tagwright::cli {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::int32_t> parseInt32(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ProfileDocument::find(std::string_view section,
                                                  std::string_view key) const {
  for (const ProfileSection& s : sections_) {
    if (s.name != section) continue;
    for (const auto& [k, v] : s.values) {
      if (k == key) return v;
    }
  }
  return std::nullopt;
}

ProfileSection& ProfileDocument::sectionNamed(std::string_view name) {
  for (ProfileSection& s : sections_) {
    if (s.name == name) return s;
  }
  sections_.push_back(ProfileSection{std::string(name), {}});
  return sections_.back();
}

bool ProfileDocument::set(std::string_view section, std::string_view key, std::int32_t value) {
  ProfileSection& s = sectionNamed(section);
  for (auto& [k, v] : s.values) {
    if (k == key) {
      const bool changed = v != value;
      v = value;
      return changed;
    }
  }
  s.values.emplace_back(std::string(key), value);
  return true;
}

ProfileParse parseProfile(std::string_view text) {
  std::vector<ProfileSection> sections;
  std::optional<std::size_t> current;  // index into `sections`
  std::size_t lineNumber = 0;
  auto fail = [&](std::string reason) {
    return ProfileParse::failure(ProfileFault{lineNumber, std::move(reason)});
  };
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.find('\0') != std::string_view::npos) return fail("NUL byte");
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return fail("a section header must end with ']'");
      std::string_view name = trim(line.substr(1, line.size() - 2));
      if (name.empty()) return fail("empty section name");
      current.reset();
      for (std::size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].name == name) current = i;
      }
      if (!current) {
        sections.push_back(ProfileSection{std::string(name), {}});
        current = sections.size() - 1;
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail("expected \"key = value\"");
    if (!current) return fail("a value outside any [section]");
    std::string_view key = trim(line.substr(0, equals));
    std::string_view rawValue = trim(line.substr(equals + 1));
    if (key.empty()) return fail("a value without a key");
    std::optional<std::int32_t> value = parseInt32(rawValue);
    if (!value) return fail("the value of " + std::string(key) + " is not a 32-bit integer");
    auto& values = sections[*current].values;
    for (const auto& [k, v] : values) {
      if (k == key) return fail(std::string(key) + " is given twice");
    }
    values.emplace_back(std::string(key), *value);
  }
  ProfileDocument document;
  for (const ProfileSection& s : sections) {
    for (const auto& [k, v] : s.values) document.set(s.name, k, v);
  }
  return document;
}

std::string formatProfile(const ProfileDocument& document) {
  std::string text = "# Tagwright settings profile. Values are 32-bit integers.\n";
  for (const ProfileSection& s : document.sections()) {
    text += "\n[" + s.name + "]\n";
    for (const auto& [k, v] : s.values) text += k + " = " + std::to_string(v) + "\n";
  }
  return text;
}

}  // namespace tagwright::cli
