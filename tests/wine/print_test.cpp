// Whole label scripts through the real interfaces, with the printed bytes
// read back from the file behind the prefix's COM5. Runs under
// LC_ALL=ru_RU.UTF-8, so the ANSI code page is 1251 and the OEM one 866.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/host_connection.h"
#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

using namespace std::chrono_literals;

constexpr long kCom5 = 7;  // port indexes 3 to 11 are COM1 to COM9

std::string printable(const std::string& bytes) {
  std::string shown;
  for (char signedByte : bytes) {
    const auto c = static_cast<unsigned char>(signedByte);
    if (c == '\r') {
      shown += "<CR>\n";
    } else if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 1251u) << "run with LC_ALL=ru_RU.UTF-8 (tests/wine/run.sh does)";
    ASSERT_EQ(GetOEMCP(), 866u);
    truncateFile(portFilePath());
    ASSERT_EQ(session_.initDone().Init(&connection_), S_OK);
    ASSERT_EQ(session_.setProperty(L"NumberPort", kCom5), S_OK);
  }
  void TearDown() override {
    if (session_.alive()) session_.initDone().Done();
    session_.release();
    // Every job must have left the module before the next test.
    EXPECT_TRUE(waitUntilUnloadable(20s));
  }
  // Prints with the given copy count and returns what reached the port.
  std::string printAndRead(Arg copies, std::size_t expectedSize) {
    unique_variant result;
    EXPECT_EQ(session_.callFunction(L"Печатать", {copies}, result), S_OK);
    EXPECT_EQ(result.type(), VT_I4);
    EXPECT_EQ(result.get()->lVal, 1);
    EXPECT_TRUE(waitForFileSize(portFilePath(), expectedSize, 20s));
    return readFileBytes(portFilePath());
  }

  HostConnection connection_;
  AddInSession session_;
};

// The header of a 30 x 58 mm gap label, speed 4, darkness 12, thermal
// transfer, top margin -5.
const std::string kHeader = "^Q30,3\r^W58\r^S4\r^AT\r^H12\r^R0\r~Q-5\r^O0\r^D0\r^E0\r^P1\r~R105\r";

// The header from the default settings: a 25 x 43 mm gap label, direct
// thermal printing.
const std::string kThermalHeader =
    "^Q25,3\r^W43\r^S2\r^XSET,CODEPAGE,10\r^AD\r^H5\r^R0\r~Q+0\r^O0\r^D0\r^E0\r^P1\r~R105\r";

TEST_F(Printing, FullScriptReachesThePortByteForByte) {
  ASSERT_EQ(session_.setProperty(L"LabelHeight", 30), S_OK);
  ASSERT_EQ(session_.setProperty(L"ШиринаЭтикетки", 58), S_OK);
  ASSERT_EQ(session_.setProperty(L"Speed", 4), S_OK);
  ASSERT_EQ(session_.setProperty(L"Darkness", 12), S_OK);
  ASSERT_EQ(session_.setProperty(L"Termotransfer", 1), S_OK);
  ASSERT_EQ(session_.setProperty(L"LabelTopMargin", -5), S_OK);
  ASSERT_EQ(session_.setProperty(L"BarcodeWidth", 6), S_OK);
  ASSERT_EQ(session_.setProperty(L"BarcodeNarrow", 1), S_OK);
  ASSERT_EQ(session_.setProperty(L"BarcodeReadable", 0), S_OK);

  ASSERT_EQ(session_.call(L"StartLabel", {}), S_OK);
  ASSERT_EQ(session_.call(L"ВывестиТекст", {10L, 20L, 1L, 1L, 2L, 0L, L"A", L"Привет"}), S_OK);
  ASSERT_EQ(session_.call(L"PutLoadedText", {5L, 6L, 2L, 2L, 0L, 1L, L"b", L"Тест  "}), S_OK);
  ASSERT_EQ(session_.call(L"PutRectangle", {10L, 10L, 200L, 100L, 0L, -2L}), S_OK);
  ASSERT_EQ(session_.call(L"InversRectangle", {-1L, 2L, 3L, 4L}), S_OK);
  ASSERT_EQ(session_.call(L"PutImage", {0L, 0L, L"LOGO  "}), S_OK);
  ASSERT_EQ(session_.call(L"PutBarcode", {L"e", 15L, 25L, 50L, 1L, L"4601234567890"}), S_OK);
  EXPECT_EQ(session_.property(L"BarcodeWidth"), 2) << "type E corrects the width";
  ASSERT_EQ(session_.call(L"PutBarcodePDF417", {0L, 0L, 400L, 200L, 2L, 40L, 9L, L"Данные"}), S_OK);

  const std::string body =
      // PutText: the whole line in code page 866.
      "AA,10,20,1,1,2,0,\x8F\xE0\xA8\xA2\xA5\xE2\r"
      // PutLoadedText: font b becomes A, gap 0 kept, text in code page 1251.
      "VA,5,6,2,2,0,1,\xD2\xE5\xF1\xF2\r"
      "R10,10,200,100,1,1\r"
      "Lo,0,2,3,4\r"
      "Y0,0,LOGO\r"
      "BE,15,25,2,6,50,1,0,4601234567890\r"
      // PDF417: rows 3, columns 30, level 8; data in code page 1251.
      "P0,0,400,200,3,30,8,\xC4\xE0\xED\xED\xFB\xE5\r";

  unique_variant collected;
  ASSERT_EQ(session_.callFunction(L"PrintToBuff", {2L}, collected), S_OK);
  EXPECT_EQ(collected.get()->lVal, 1);
  EXPECT_EQ(readFileBytes(portFilePath()), "") << "PrintToBuff sends nothing";

  const std::string expected = kHeader + "^C2\r^L\r" + body + "E\r" +  // collected
                               kHeader + "^C1\r^L\r" + body + "E\r";   // printed now
  const std::string printed = printAndRead(std::wstring(L" 1"), expected.size());
  EXPECT_EQ(printable(printed), printable(expected));
}

TEST_F(Printing, MalformedArgumentArraysCountAsNoArguments) {
  ASSERT_EQ(session_.setProperty(L"Termotransfer", 0), S_OK);
  ASSERT_EQ(session_.call(L"StartLabel", {}), S_OK);
  auto& extender = session_.extender();
  const long rectangle = session_.methodNumber(L"PutRectangle");

  EXPECT_EQ(extender.CallAsProc(rectangle, nullptr), S_OK);
  SAFEARRAY* none = nullptr;
  EXPECT_EQ(extender.CallAsProc(rectangle, &none), S_OK);
  unique_safearray numbers(SafeArrayCreateVector(VT_I4, 0, 6));
  SAFEARRAY* raw = numbers.get();
  EXPECT_EQ(extender.CallAsProc(rectangle, &raw), S_OK);
  SAFEARRAYBOUND bounds[2] = {{3, 0}, {2, 0}};
  unique_safearray square(SafeArrayCreate(VT_VARIANT, 2, bounds));
  raw = square.get();
  EXPECT_EQ(extender.CallAsProc(rectangle, &raw), S_OK);

  // Four rectangles read with no arguments at all, each clamped from zero.
  std::string expected = kThermalHeader + "^C3\r^L\r";
  for (int i = 0; i < 4; ++i) expected += "R0,0,0,0,1,1\r";
  expected += "E\r";
  EXPECT_EQ(printable(printAndRead(3L, expected.size())), printable(expected));
}

TEST_F(Printing, PendingJobKeepsTheModuleUntilWritten) {
  ASSERT_EQ(session_.call(L"StartLabel", {}), S_OK);
  const std::string label = kThermalHeader + "^C1\r^L\rE\r";
  {
    // While this test holds the port, the job cannot open it and waits.
    unique_handle held(CreateFileW(L"\\\\.\\COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(held)) << "COM5 must lead to the port file";
    unique_variant result;
    ASSERT_EQ(session_.callFunction(L"Print", {1L}, result), S_OK);
    session_.initDone().Done();
    session_.release();
    EXPECT_EQ(moduleCanUnloadNow(), S_FALSE) << "no object is alive, but a job is pending";
    Sleep(300);
    EXPECT_EQ(moduleCanUnloadNow(), S_FALSE);
    EXPECT_EQ(readFileBytes(portFilePath()), "");
  }
  EXPECT_TRUE(waitForFileSize(portFilePath(), label.size(), 20s));
  EXPECT_TRUE(waitUntilUnloadable(20s));
  EXPECT_EQ(printable(readFileBytes(portFilePath())), printable(label));
}

}  // namespace
}  // namespace wine_tests
