#include "check/argument_rules.h"

#include <algorithm>

#include "core/script/script_value.h"
#include "core/text/utf8.h"
#include "preview/job/fields.h"

namespace tagwright::cli {
namespace {

std::string quoted(const std::u16string& text) { return "\"" + toUtf8(text) + "\""; }

std::string bytes(std::size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

void compareNumber(const ArgumentField& a, const ScriptLiteral& given, std::string_view written,
                   FindingList& findings) {
  const std::int32_t value = argumentAsNumber(given.value);
  const std::optional<int> stored = preview::parseInteger(written);
  if (!stored || *stored == value) return;
  findings.add(rule::kArgumentClamped, given.position,
               "the " + std::string(a.name) + " " + std::to_string(value) + " is written as " +
                   std::to_string(*stored));
}

void compareText(const ArgumentField& a, const ScriptLiteral& given, std::string_view written,
                 const CodePages& pages, FindingList& findings) {
  const std::string converted = pages.toAnsi(argumentAsText(given.value));
  if (written.size() >= converted.size()) return;
  const std::string_view dropped = std::string_view(converted).substr(written.size());
  const bool blanksOnly =
      std::all_of(dropped.begin(), dropped.end(), [](char c) { return c == ' '; });
  std::string message = "the " + std::string(a.name) + " of " + bytes(converted.size());
  if (blanksOnly) {
    message += " loses its trailing blanks: " + bytes(written.size()) + " are written";
  } else {
    message += " is cut to " + bytes(written.size());
  }
  findings.add(rule::kArgumentClamped, given.position, std::move(message));
}

void compareFont(const ScriptLiteral& given, std::string_view written, const CodePages& pages,
                 FindingList& findings) {
  const std::u16string text = argumentAsText(given.value);
  const std::string converted = pages.toAnsi(text);
  const std::string letter(written);
  std::string message;
  if (converted.empty()) {
    message = "an empty font is written as font " + letter;
  } else if (converted.front() != written.front()) {
    message = "font " + quoted(text) + " is written as font " + letter +
              ": a font is an upper-case letter";
  } else if (converted.size() > 1) {
    message = "font " + quoted(text) + " is written as font " + letter +
              ": only its first letter is written";
  } else {
    return;
  }
  findings.add(rule::kArgumentClamped, given.position, std::move(message));
}

void compareType(const ScriptLiteral& given, std::string_view written, FindingList& findings) {
  const std::u16string text = argumentAsText(given.value);
  if (written.size() >= text.size()) return;
  findings.add(rule::kArgumentClamped, given.position,
               "barcode type " + quoted(text) + " is written as " + std::string(written));
}

// The characters of a text that its code pages cannot represent, each once,
// in order: those the ANSI page lacks, and (for a line in the OEM page)
// those the OEM page lacks of the rest.
struct Unrepresentable {
  std::u16string notInAnsi;
  std::u16string notInOem;
};

void addOnce(std::u16string& set, std::u16string_view character) {
  if (set.find(character) == std::u16string::npos) set += character;
}

Unrepresentable unrepresentable(std::u16string_view text, bool oem, const CodePages& pages) {
  Unrepresentable missing;
  for (std::size_t i = 0; i < text.size();) {
    const std::u16string_view character = text.substr(i, utf16CharacterLength(text, i));
    i += character.size();
    if (character == u"?") continue;
    const std::string ansi = pages.toAnsi(character);
    if (ansi == "?") {
      addOnce(missing.notInAnsi, character);
    } else if (oem && pages.ansiToOem(ansi) == "?") {
      addOnce(missing.notInOem, character);
    }
  }
  return missing;
}

void reportMissing(const ArgumentField& a, const ScriptLiteral& given,
                   const std::u16string& characters, const std::string& page,
                   FindingList& findings) {
  if (characters.empty()) return;
  std::string listed;
  for (std::size_t i = 0; i < characters.size();) {
    const std::size_t n = utf16CharacterLength(characters, i);
    listed += (listed.empty() ? "'" : ", '") + toUtf8(characters.substr(i, n)) + "'";
    i += n;
  }
  const bool one = utf16CharacterLength(characters, 0) == characters.size();
  findings.add(rule::kUnrepresentableCharacter, given.position,
               "the " + std::string(a.name) + " has " + listed + ", which code page " + page +
                   (one ? " does not have: it prints as ?" : " does not have: they print as ?"));
}

}  // namespace

void checkWrittenArguments(const Statement& s, const WrittenElement& e, const CodePages& pages,
                           FindingList& findings) {
  const auto& arguments = e.layout->arguments;
  for (std::size_t i = 0; i < arguments.size() && i < s.values.size(); ++i) {
    const ArgumentField& a = arguments[i];
    const std::string_view written = e.fields[a.field];
    switch (a.use) {
      case ArgumentUse::Number: compareNumber(a, s.values[i], written, findings); break;
      case ArgumentUse::Text: compareText(a, s.values[i], written, pages, findings); break;
      case ArgumentUse::Font: compareFont(s.values[i], written, pages, findings); break;
      case ArgumentUse::Type: compareType(s.values[i], written, findings); break;
    }
  }
}

void checkRepresentable(const Statement& s, const WrittenElement& e, const CheckResources& r,
                        FindingList& findings) {
  const auto& arguments = e.layout->arguments;
  for (std::size_t i = 0; i < arguments.size() && i < s.values.size(); ++i) {
    const ArgumentField& a = arguments[i];
    if (a.use != ArgumentUse::Text) continue;
    const Unrepresentable missing =
        unrepresentable(argumentAsText(s.values[i].value), e.layout->oem, r.componentPages);
    reportMissing(a, s.values[i], missing.notInAnsi, r.ansiName, findings);
    reportMissing(a, s.values[i], missing.notInOem, r.oemName, findings);
  }
}

}  // namespace tagwright::cli
