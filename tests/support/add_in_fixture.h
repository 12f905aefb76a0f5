#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"
#include "support/fakes.h"

namespace tagwright::testing {

// An add-in object with Russian code pages, a recording job runner and an
// abort state of its own.
class AddInTest : public ::testing::Test {
 protected:
  IconvCodePages codePages{"CP1251", "CP866"};
  RecordingJobRunner runner;
  PrintAbortState abort;
  AddIn addIn{AddInServices{codePages, runner, abort}};

  void set(Property p, std::int32_t v) {
    ASSERT_EQ(addIn.setProperty(static_cast<std::int32_t>(p), ScriptValue::int32(v)),
              HostResult::Ok);
  }
  std::int32_t get(Property p) {
    ScriptValue v;
    EXPECT_EQ(addIn.getProperty(static_cast<std::int32_t>(p), v), HostResult::Ok);
    return v.isInt32() ? v.asInt32() : -999999;
  }
  HostResult call(Method m, ScriptArgs args = {}) {
    return addIn.callAsProc(static_cast<std::int32_t>(m), args);
  }
  ScriptValue callFunc(Method m, ScriptArgs args) {
    ScriptValue result;
    EXPECT_EQ(addIn.callAsFunc(static_cast<std::int32_t>(m), result, args), HostResult::Ok);
    return result;
  }
};

inline ScriptValue I(std::int32_t v) { return ScriptValue::int32(v); }
inline ScriptValue T(std::u16string v) { return ScriptValue::text(std::move(v)); }

// Shows control bytes so that a failing comparison is readable.
inline std::string visible(const std::string& bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r') out += "<CR>";
    else if (c == '\n') out += "<LF>";
    else if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", c);
      out += hex;
    } else out += static_cast<char>(c);
  }
  return out;
}

}  // namespace tagwright::testing
