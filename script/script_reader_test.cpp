#include "script/script_reader.h"

#include <gtest/gtest.h>

#include <random>

namespace tagwright::cli {
namespace {

ScriptReadResult readOk(std::string_view text) {
  ScriptReadResult r = readScript(text);
  EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error().message);
  return r;
}

TEST(ScriptReader, ReadsTheThreeStatementFormsWithPositions) {
  ScriptReadResult r = readOk(
      "LabelWidth = 58\n"
      "  PutText(10, -20, \"A\", \"say \"\"hi\"\"\")\n"
      "? Darkness\n"
      "StartLabel()\n");
  ASSERT_EQ(r.value().size(), 4u);

  EXPECT_EQ(r.value()[0].kind, StatementKind::SetProperty);
  EXPECT_EQ(r.value()[0].name, u"LabelWidth");
  EXPECT_EQ(r.value()[0].values.at(0).value, ScriptValue::int32(58));

  const Statement& call = r.value()[1];
  EXPECT_EQ(call.kind, StatementKind::CallMethod);
  EXPECT_EQ(call.position, (SourcePosition{2, 3}));
  ASSERT_EQ(call.values.size(), 4u);
  EXPECT_EQ(call.values[1].value, ScriptValue::int32(-20));
  EXPECT_EQ(call.values[1].position, (SourcePosition{2, 15}));
  EXPECT_EQ(call.values[3].value, ScriptValue::text(u"say \"hi\""));

  EXPECT_EQ(r.value()[2].kind, StatementKind::ShowProperty);
  EXPECT_EQ(r.value()[2].name, u"Darkness");
  EXPECT_EQ(r.value()[2].position, (SourcePosition{3, 3}));

  EXPECT_EQ(r.value()[3].kind, StatementKind::CallMethod);
  EXPECT_TRUE(r.value()[3].values.empty());
}

TEST(ScriptReader, CyrillicNamesAndTextsBecomeUtf16AndColumnsCountCharacters) {
  ScriptReadResult ok = readOk(
      "\xEF\xBB\xBFШиринаЭтикетки = 43 // комментарий\r\n"
      "СформироватьШтрихкодPDF417(\"Цена\")\n");
  ASSERT_EQ(ok.value().size(), 2u);
  EXPECT_EQ(ok.value()[0].name, u"ШиринаЭтикетки");
  EXPECT_EQ(ok.value()[1].name, u"СформироватьШтрихкодPDF417");
  EXPECT_EQ(ok.value()[1].values[0].value, ScriptValue::text(u"Цена"));

  // A fault after Cyrillic text is placed by characters, not bytes.
  ScriptReadResult bad = readScript("ВывестиТекст(\"Цена\") Лишнее\n");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().position, (SourcePosition{1, 22}));
}

TEST(ScriptReader, KeepsTextsAsWrittenAndSkipsCommentsOutsideThem) {
  ScriptReadResult r = readOk(
      "PutText(\"// not a comment\", \"  \", \"\", \"a,b\") // comment\n"
      "// a whole comment line\n\n   \n");
  ASSERT_EQ(r.value().size(), 1u);
  const auto& v = r.value()[0].values;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].value, ScriptValue::text(u"// not a comment"));
  EXPECT_EQ(v[1].value, ScriptValue::text(u"  "));
  EXPECT_EQ(v[2].value, ScriptValue::text(u""));
  EXPECT_EQ(v[3].value, ScriptValue::text(u"a,b"));
}

TEST(ScriptReader, IntegersCoverTheWhole32BitRangeWithSigns) {
  ScriptReadResult r = readOk("F(2147483647, -2147483648, +7, 0, -0, 007)\n");
  const auto& v = r.value().at(0).values;
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[0].value, ScriptValue::int32(2147483647));
  EXPECT_EQ(v[1].value, ScriptValue::int32(-2147483647 - 1));
  EXPECT_EQ(v[2].value, ScriptValue::int32(7));
  EXPECT_EQ(v[3].value, ScriptValue::int32(0));
  EXPECT_EQ(v[4].value, ScriptValue::int32(0));
  EXPECT_EQ(v[5].value, ScriptValue::int32(7));
}

struct Fault {
  const char* script;
  int line;
  int column;
  const char* messagePart;
};

class ScriptReaderFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(ScriptReaderFaults, AreReportedAtTheirPlaceAndNothingIsRead) {
  const Fault& f = GetParam();
  ScriptReadResult r = readScript(f.script);
  ASSERT_FALSE(r.ok()) << f.script;
  EXPECT_EQ(r.error().position, (SourcePosition{f.line, f.column})) << r.error().message;
  EXPECT_NE(r.error().message.find(f.messagePart), std::string::npos) << r.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptReaderFaults,
    ::testing::Values(
        Fault{"Speed = 4\nSpeed = \"open\n", 2, 9, "text not closed"},
        Fault{"F(2147483648)\n", 1, 3, "out of range"},
        Fault{"F(-2147483649)\n", 1, 3, "out of range"},
        Fault{"F(99999999999999999999999)\n", 1, 3, "out of range"},
        Fault{"F(12ab)\n", 1, 3, "runs into"}, Fault{"Speed 4\n", 1, 7, "expected '=' or '('"},
        Fault{"Speed =\n", 1, 8, "expected a value"},
        Fault{"Speed = Fast\n", 1, 9, "expected a value"},
        Fault{"F(1,)\n", 1, 5, "expected an argument"},
        Fault{"F(1 2)\n", 1, 5, "expected ',' or ')'"}, Fault{"F(1\n", 1, 4, "expected ',' or ')'"},
        Fault{"F(1) G()\n", 1, 6, "after the statement"},
        Fault{"? 5\n", 1, 3, "expected a property name"},
        Fault{"?\n", 1, 2, "expected a property name"}, Fault{"= 5\n", 1, 1, "starts with a name"},
        Fault{"Speed = 4;\n", 1, 10, "unexpected ';'"},
        Fault{"Speed = - 4\n", 1, 9, "unexpected '-'"},
        Fault{"A = 1\n\tB = 2 / 3\n", 2, 8, "unexpected '/'"},
        Fault{"Speed = 4\x01\n", 1, 10, "control character 0x01"}));

TEST(ScriptReader, RejectsInvalidUtf8WithItsPlace) {
  struct Case {
    std::string bytes;
    SourcePosition at;
    const char* reason;
  };
  const Case cases[] = {
      {"A = 1\nPutText(\"\xC3\x28\")\n", {2, 10}, "inside a multi-byte character"},
      {"Цена\xFF", {1, 5}, "cannot start a character"},
      {"\xC0\xAF", {1, 1}, "cannot start a character"},  // overlong '/'
      {"\xE0\x80\xAF", {1, 1}, "overlong"},
      {"\xED\xA0\x80", {1, 1}, "surrogate"},
      {"\xF4\x90\x80\x80", {1, 1}, "above U+10FFFF"},
      {"ab\xE2\x82", {1, 3}, "cut short"},
      {"\x80", {1, 1}, "cannot start"},
  };
  for (const Case& c : cases) {
    ScriptReadResult r = readScript(c.bytes);
    ASSERT_FALSE(r.ok()) << c.reason;
    EXPECT_EQ(r.error().position, c.at) << c.reason;
    EXPECT_NE(r.error().message.find("invalid UTF-8"), std::string::npos);
    EXPECT_NE(r.error().message.find(c.reason), std::string::npos) << r.error().message;
  }
}

TEST(ScriptReader, NulInsideATextIsRefused) {
  const std::string script("F(\"a\0b\")\n", 9);
  ScriptReadResult r = readScript(script);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().position, (SourcePosition{1, 5}));
  EXPECT_NE(r.error().message.find("NUL"), std::string::npos);
}

TEST(ScriptReader, FormatsErrorsAsFileLineColumn) {
  EXPECT_EQ(formatScriptError("label.tws", ScriptError{{3, 14}, "unknown method 'Foo'"}),
            "label.tws:3:14: unknown method 'Foo'");
}

// Random bytes and random mutations of a valid script: every input is
// either read whole or refused with a position inside the input, and
// never crashes (the sanitizer build checks memory on the way).
TEST(ScriptReader, RandomInputsAreReadOrRefusedNeverCrash) {
  const std::string seed =
      "LabelHeight = 30\nStartLabel()\nPutText(10, 20, 1, 1, 1, 0, \"A\", \"Цена \"\"X\"\"\")\n"
      "? Darkness // c\nPrint(1)\n";
  const std::string alphabet = "\"()=,?/-+ \n\r\t0123456789AZaz_\xD0\x96\xFF\xC3";
  std::mt19937 random(20240601);
  for (int round = 0; round < 20000; ++round) {
    std::string input = seed;
    const int edits = static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !input.empty(); ++e) {
      const std::size_t at = random() % input.size();
      switch (random() % 3) {
        case 0: input.erase(at, 1 + random() % 3); break;
        case 1: input.insert(at, 1, alphabet[random() % alphabet.size()]); break;
        default: input[at] = static_cast<char>(random() % 256); break;
      }
    }
    ScriptReadResult r = readScript(input);
    if (!r.ok()) {
      EXPECT_GE(r.error().position.line, 1);
      EXPECT_GE(r.error().position.column, 1);
      EXPECT_FALSE(r.error().message.empty());
    }
  }
}

}  // namespace
}  // namespace tagwright::cli
