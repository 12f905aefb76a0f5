#include "windows/module/registry_script.h"

namespace tagwright::com {
namespace {

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

char16_t asciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool sameWord(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

struct Token {
  enum class Kind { End, Word, Quoted, Open, Close, Equals } kind = Kind::End;
  std::u16string text;
  std::size_t offset = 0;
};

class Parser {
 public:
  Parser(std::u16string_view text, const RegistryVariables& variables)
      : text_(text), variables_(variables) {}

  RegistryScriptParse parse() {
    RegistryScript script;
    advance();
    while (!failed() && current_.kind != Token::Kind::End) {
      if (current_.kind != Token::Kind::Word ||
          !(sameWord(current_.text, u"HKCR") || sameWord(current_.text, u"HKEY_CLASSES_ROOT"))) {
        fail("only HKCR is supported as a root key");
        break;
      }
      advance();
      expect(Token::Kind::Open, "'{' expected after the root key");
      while (!failed() && current_.kind != Token::Kind::Close) {
        if (current_.kind == Token::Kind::End) {
          fail("'}' expected before the end of the script");
          break;
        }
        RegistryKey key;
        if (parseKey(key)) script.classesRoot.push_back(std::move(key));
      }
      expect(Token::Kind::Close, "'}' expected");
    }
    if (failed()) return RegistryScriptParse::failure(std::move(*error_));
    return script;
  }

 private:
  bool failed() const { return error_.has_value(); }

  void fail(const char* message) {
    if (!error_) error_ = RegistryScriptError{current_.offset, message};
  }

  void expect(Token::Kind kind, const char* message) {
    if (failed()) return;
    if (current_.kind != kind) {
      fail(message);
      return;
    }
    advance();
  }

  // key := [NoRemove|ForceRemove] name ['=' value] ['{' body '}']
  bool parseKey(RegistryKey& key) {
    if (current_.kind == Token::Kind::Word && sameWord(current_.text, u"NoRemove")) {
      key.removal = RegistryKey::Removal::NoRemove;
      advance();
    } else if (current_.kind == Token::Kind::Word && sameWord(current_.text, u"ForceRemove")) {
      key.removal = RegistryKey::Removal::ForceRemove;
      advance();
    }
    if (!parseName(key.name)) return false;
    if (current_.kind == Token::Kind::Equals) {
      advance();
      std::u16string value;
      if (!parseValue(value)) return false;
      key.defaultValue = std::move(value);
    }
    if (current_.kind == Token::Kind::Open) {
      advance();
      while (!failed() && current_.kind != Token::Kind::Close) {
        if (current_.kind == Token::Kind::End) {
          fail("'}' expected before the end of the script");
          return false;
        }
        if (current_.kind == Token::Kind::Word && sameWord(current_.text, u"val")) {
          advance();
          RegistryNamedValue value;
          if (!parseName(value.name)) return false;
          expect(Token::Kind::Equals, "'=' expected after a value name");
          if (failed() || !parseValue(value.data)) return false;
          key.values.push_back(std::move(value));
        } else {
          RegistryKey subkey;
          if (!parseKey(subkey)) return false;
          key.subkeys.push_back(std::move(subkey));
        }
      }
      expect(Token::Kind::Close, "'}' expected");
    }
    return !failed();
  }

  bool parseName(std::u16string& name) {
    if (current_.kind != Token::Kind::Word && current_.kind != Token::Kind::Quoted) {
      fail("a key or value name expected");
      return false;
    }
    if (current_.text.empty() || current_.text.find(u'\\') != std::u16string::npos) {
      fail("a name must be one non-empty path element");
      return false;
    }
    name = current_.text;
    advance();
    return true;
  }

  // value := 's' quoted-string, with the variables substituted.
  bool parseValue(std::u16string& value) {
    if (current_.kind != Token::Kind::Word || !sameWord(current_.text, u"s")) {
      fail("only string values (s '...') are supported");
      return false;
    }
    advance();
    if (current_.kind != Token::Kind::Quoted) {
      fail("a quoted value expected");
      return false;
    }
    if (!substitute(current_.text, value)) return false;
    advance();
    return true;
  }

  bool substitute(const std::u16string& raw, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != u'%') {
        out += raw[i];
        continue;
      }
      const std::size_t close = raw.find(u'%', i + 1);
      if (close == std::u16string::npos) {
        fail("unterminated variable in a value");
        return false;
      }
      if (close == i + 1) {
        out += u'%';
      } else {
        auto found = variables_.find(raw.substr(i + 1, close - i - 1));
        if (found == variables_.end()) {
          fail("unknown variable in a value");
          return false;
        }
        out += found->second;
      }
      i = close;
    }
    return true;
  }

  // Tokens are separated by blanks, as in the customary script format: a
  // lone "{", "}" or "=" is punctuation, so that a key named "{GUID}" stays a
  // word. A quote starts a quoted text, in which '' stands for one quote.
  void advance() {
    std::size_t& at = position_;
    while (at < text_.size() && isSpace(text_[at])) ++at;
    current_ = Token{};
    current_.offset = at;
    if (at >= text_.size()) return;
    if (text_[at] == u'\'') {
      ++at;
      while (true) {
        if (at >= text_.size()) {
          fail("unterminated quoted text");
          current_.kind = Token::Kind::End;
          return;
        }
        if (text_[at] == u'\'') {
          if (at + 1 < text_.size() && text_[at + 1] == u'\'') {
            current_.text += u'\'';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        current_.text += text_[at++];
      }
      current_.kind = Token::Kind::Quoted;
      return;
    }
    while (at < text_.size() && !isSpace(text_[at])) current_.text += text_[at++];
    if (current_.text == u"{") {
      current_.kind = Token::Kind::Open;
    } else if (current_.text == u"}") {
      current_.kind = Token::Kind::Close;
    } else if (current_.text == u"=") {
      current_.kind = Token::Kind::Equals;
    } else {
      current_.kind = Token::Kind::Word;
    }
  }

  std::u16string_view text_;
  const RegistryVariables& variables_;
  std::size_t position_ = 0;
  Token current_;
  std::optional<RegistryScriptError> error_;
};

std::u16string childPath(const std::u16string& parent, const std::u16string& name) {
  return parent.empty() ? name : parent + u'\\' + name;
}

long registerKey(const RegistryKey& key, const std::u16string& parent, RegistryEditor& editor) {
  const std::u16string path = childPath(parent, key.name);
  if (key.removal == RegistryKey::Removal::ForceRemove) {
    if (long error = editor.deleteTree(path)) return error;
  }
  if (long error = editor.createKey(path)) return error;
  if (key.defaultValue) {
    if (long error = editor.setString(path, u"", *key.defaultValue)) return error;
  }
  for (const RegistryNamedValue& value : key.values) {
    if (long error = editor.setString(path, value.name, value.data)) return error;
  }
  for (const RegistryKey& subkey : key.subkeys) {
    if (long error = registerKey(subkey, path, editor)) return error;
  }
  return 0;
}

void removeKey(const RegistryKey& key, const std::u16string& parent, RegistryEditor& editor) {
  const std::u16string path = childPath(parent, key.name);
  if (key.removal == RegistryKey::Removal::ForceRemove) {
    static_cast<void>(editor.deleteTree(path));
    return;
  }
  for (const RegistryKey& subkey : key.subkeys) removeKey(subkey, path, editor);
  if (key.removal == RegistryKey::Removal::IfEmpty && !editor.hasSubkeys(path)) {
    static_cast<void>(editor.deleteEmptyKey(path));
  }
}

}  // namespace

RegistryScriptParse parseRegistryScript(std::u16string_view text,
                                        const RegistryVariables& variables) {
  return Parser(text, variables).parse();
}

long applyRegistration(const RegistryScript& script, RegistryEditor& editor) {
  for (const RegistryKey& key : script.classesRoot) {
    if (long error = registerKey(key, u"", editor)) return error;
  }
  return 0;
}

void applyRemoval(const RegistryScript& script, RegistryEditor& editor) {
  for (const RegistryKey& key : script.classesRoot) removeKey(key, u"", editor);
}

}  // namespace tagwright::com
