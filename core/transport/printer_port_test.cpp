#include "core/transport/printer_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "core/transport/port_texts.h"
#include "support/fake_port_layer.h"

namespace tagwright {
namespace {

using testing::RecordingSleeper;
using testing::ScriptedPortLayer;
using Calls = std::vector<std::string>;

const std::string kTimeouts[] = {"getTimeouts", "setTimeouts 200,100,200,1000,2000"};
const Calls kSerialSetUp = {"getModemStatus",      "getCommState",
                            "setupQueues 256,256", "setCommState 9600,8,0,0,state as found",
                            "setCommMask 65",      "purge 12"};

Calls concat(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct Opened {
  PortHandle port;
  std::string errorText;
};

Opened openPort(ScriptedPortLayer& layer, std::int32_t index) {
  RecordingSleeper sleeper;
  Opened result{kInvalidPort, "untouched"};
  result.port = OpenPrinterPort(layer, sleeper, index, result.errorText);
  return result;
}

TEST(OpenPrinterPort, EachIndexOpensItsNameWithTheSetUpOfItsKind) {
  const Calls timeouts(std::begin(kTimeouts), std::end(kTimeouts));
  const Calls testWrite = {"write 1"};
  struct Case {
    std::int32_t index;
    std::string name;
    bool serial;
    bool parallel;
  };
  const Case cases[] = {
      {0, "LPT1", false, true},  {1, "LPT2", false, true},       {2, "LPT3", false, true},
      {3, "COM1", true, false},  {5, "COM3", true, false},       {11, "COM9", true, false},
      {13, "LPT1", true, false}, {100, "LPT1", true, false},     {INT_MAX, "LPT1", true, false},
      {-1, "LPT1", false, true}, {INT_MIN, "LPT1", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("index " + std::to_string(c.index));
    ScriptedPortLayer layer;
    Opened opened = openPort(layer, c.index);
    ASSERT_NE(opened.port, kInvalidPort);
    EXPECT_EQ(opened.errorText, "untouched");
    EXPECT_EQ(layer.calls(), concat({{"open " + c.name},
                                     timeouts,
                                     c.serial ? kSerialSetUp : Calls{},
                                     c.parallel ? testWrite : Calls{}}));
    if (c.parallel) {
      using Write = std::pair<std::string, std::string>;
      EXPECT_EQ(layer.writes(), (std::vector<Write>{{c.name, std::string(1, '\0')}}));
    }
  }
}

TEST(OpenPrinterPort, MappedPortsOfEveryKindGetNoLineSetUpAndNoPresenceTest) {
  for (const std::int32_t index : {0, 5, 100}) {
    SCOPED_TRACE("index " + std::to_string(index));
    ScriptedPortLayer layer;
    const std::string name = portNameForIndex(index);
    layer.mapPort(name);
    layer.setModemStatus(0);    // would be "no printer" on a local serial port
    layer.setWritesFail(true);  // would fail a parallel port's test write
    Opened opened = openPort(layer, index);
    ASSERT_NE(opened.port, kInvalidPort);
    EXPECT_EQ(layer.calls(), (Calls{"open " + name, kTimeouts[0], kTimeouts[1]}));
  }
}

TEST(OpenPrinterPort, UsbPortGetsOnlyTheTimeouts) {
  ScriptedPortLayer layer;
  const std::string path =
      R"(\\?\usb#vid_195f&pid_0001#5&1a2b#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
  layer.setUsbDevicePaths({path});
  Opened opened = openPort(layer, kUsbPortIndex);
  ASSERT_NE(opened.port, kInvalidPort);
  EXPECT_EQ(layer.calls(), (Calls{"usbDevicePaths", "open " + path, kTimeouts[0], kTimeouts[1]}));
}

TEST(OpenPrinterPort, WaitsWhileThePortIsHeldAndOpensOnceReleased) {
  ScriptedPortLayer layer;
  layer.failNextOpens({kErrorAccessDenied, kErrorAccessDenied, kErrorAccessDenied});
  RecordingSleeper sleeper;
  std::string errorText = "untouched";
  const PortHandle port = OpenPrinterPort(layer, sleeper, 4, errorText);
  ASSERT_NE(port, kInvalidPort);
  EXPECT_EQ(errorText, "untouched");
  const Calls calls = layer.calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "open COM2"), 4);
  EXPECT_EQ(sleeper.sleeps(), std::vector<std::chrono::milliseconds>(3, kAccessDeniedRetryDelay));
}

TEST(OpenPrinterPort, OpenFailuresGiveTheTextOfThePortKindWithTheCode) {
  struct Case {
    std::int32_t index;
    std::uint32_t error;
    std::string text;
  };
  const Case cases[] = {
      {0, 2, std::string(kCannotOpenPortText) + "\r\n" + std::string(kErrorCodeLabel) + "2"},
      {7, 1167, std::string(kCannotOpenPortText) + "\r\n" + std::string(kErrorCodeLabel) + "1167"},
      {kUsbPortIndex, 32,
       std::string(kPrinterNotConnectedText) + "\r\n" + std::string(kErrorCodeLabel) + "32"},
      {1, 0xFFFFFFFFu,
       std::string(kCannotOpenPortText) + "\r\n" + std::string(kErrorCodeLabel) + "-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("index " + std::to_string(c.index));
    ScriptedPortLayer layer;
    layer.setUsbDevicePaths({"usb#vid_195f&pid_0001#x#{guid}"});
    // A refusal as held first: the wait goes on until a real failure comes.
    layer.failNextOpens({kErrorAccessDenied, c.error});
    Opened opened = openPort(layer, c.index);
    EXPECT_EQ(opened.port, kInvalidPort);
    EXPECT_EQ(opened.errorText, c.text);
    EXPECT_EQ(layer.openPorts(), 0u);
    EXPECT_EQ(layer.calls().back().rfind("open ", 0), 0u) << "nothing may follow a failed open";
  }
}

TEST(OpenPrinterPort, SerialPortWithAllModemLinesOffHasNoPrinter) {
  ScriptedPortLayer layer;
  layer.setModemStatus(0);
  Opened opened = openPort(layer, 3);
  EXPECT_EQ(opened.port, kInvalidPort);
  EXPECT_EQ(opened.errorText, kPrinterNotConnectedText);
  EXPECT_EQ(layer.calls(), (Calls{"open COM1", kTimeouts[0], kTimeouts[1], "getModemStatus",
                                  "setBreak", "close"}));
  EXPECT_EQ(layer.openPorts(), 0u);
}

TEST(OpenPrinterPort, SerialPortWithAnyModemLineOnOrAnUnreadableStatusIsUsed) {
  for (std::optional<std::uint32_t> status :
       {std::optional<std::uint32_t>(kModemCtsOn), std::optional<std::uint32_t>(kModemRlsdOn),
        std::optional<std::uint32_t>(std::nullopt)}) {
    ScriptedPortLayer layer;
    layer.setModemStatus(status);
    Opened opened = openPort(layer, 6);
    EXPECT_NE(opened.port, kInvalidPort);
    EXPECT_EQ(opened.errorText, "untouched");
    EXPECT_EQ(layer.calls().back(), "purge 12") << "the line set-up must run to its end";
  }
}

TEST(OpenPrinterPort, ParallelPortWhoseTestWriteFailsHasNoPrinter) {
  ScriptedPortLayer layer;
  layer.setWritesFail(true);
  Opened opened = openPort(layer, 2);
  EXPECT_EQ(opened.port, kInvalidPort);
  EXPECT_EQ(opened.errorText, kPrinterNotConnectedText);
  EXPECT_EQ(layer.calls(), (Calls{"open LPT3", kTimeouts[0], kTimeouts[1], "write 1", "close"}));
  EXPECT_EQ(layer.openPorts(), 0u);
}

TEST(FindUsbPrinterPath, TheLastPathContainingTheLowerCaseIdsWins) {
  const std::string first =
      R"(\\?\usb#vid_195f&pid_0001#aaa#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
  const std::string second =
      R"(\\?\usb#vid_195f&pid_0001#bbb#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
  const std::string other =
      R"(\\?\usb#vid_046d&pid_c52b#ccc#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
  const std::string capitals =
      R"(\\?\USB#VID_195F&PID_0001#ddd#{A5DCBF10-6530-11D2-901F-00C04FB951ED})";
  struct Case {
    std::vector<std::string> paths;
    std::string found;
  };
  const Case cases[] = {
      {{}, ""},
      {{other}, ""},
      {{first}, first},
      {{other, first, other}, first},
      {{first, second}, second},
      {{second, first}, first},
      {{first, other}, first},
      {{capitals}, ""},
      {{first, capitals}, first},
      {{"vid_195f&pid_00011"}, "vid_195f&pid_00011"},  // a substring test, nothing more
      {{"vid_195f&pid_0002"}, ""},
  };
  for (const Case& c : cases) {
    ScriptedPortLayer layer;
    layer.setUsbDevicePaths(c.paths);
    EXPECT_EQ(findUsbPrinterPath(layer), c.found);
  }
}

TEST(OpenPrinterPort, UsbWithoutAMatchingDeviceOpensNothing) {
  ScriptedPortLayer layer;
  layer.setUsbDevicePaths({"usb#VID_195F&PID_0001#x#{guid}"});
  Opened opened = openPort(layer, kUsbPortIndex);
  EXPECT_EQ(opened.port, kInvalidPort);
  EXPECT_EQ(opened.errorText, kUsbPrinterNotFoundText);
  EXPECT_EQ(layer.calls(), Calls{"usbDevicePaths"});
}

TEST(ClosePrinterPort, BreaksSerialAndUsbLinesBeforeClosing) {
  struct Case {
    std::int32_t index;
    bool breaks;
  };
  for (const Case& c : {Case{-1, false}, Case{0, false}, Case{2, false}, Case{3, true},
                        Case{11, true}, Case{kUsbPortIndex, true}, Case{13, true}}) {
    SCOPED_TRACE("index " + std::to_string(c.index));
    ScriptedPortLayer layer;
    std::uint32_t error = 0;
    const PortHandle port = layer.open("X", error);
    layer.clearCalls();
    ClosePrinterPort(layer, c.index, port);
    EXPECT_EQ(layer.calls(), (c.breaks ? Calls{"setBreak", "close"} : Calls{"close"}));
    EXPECT_EQ(layer.openPorts(), 0u);
  }
}

TEST(ClosePrinterPort, DoesNothingForTheInvalidHandle) {
  ScriptedPortLayer layer;
  ClosePrinterPort(layer, 5, kInvalidPort);
  EXPECT_TRUE(layer.calls().empty());
}

TEST(OpenedPrinterPort, ClosesOnceWhenItGoesOutOfScopeUnlessReleased) {
  ScriptedPortLayer layer;
  std::uint32_t error = 0;
  {
    OpenedPrinterPort serial(layer, 3, layer.open("COM1", error));
    OpenedPrinterPort moved(std::move(serial));
    EXPECT_FALSE(serial);
    layer.clearCalls();
  }
  EXPECT_EQ(layer.calls(), (Calls{"setBreak", "close"}));
  EXPECT_EQ(layer.openPorts(), 0u);

  PortHandle kept = kInvalidPort;
  {
    OpenedPrinterPort parallel(layer, 0, layer.open("LPT1", error));
    parallel.close();
    EXPECT_FALSE(parallel);
    OpenedPrinterPort released(layer, 0, layer.open("LPT1", error));
    kept = released.release();
    layer.clearCalls();
  }
  EXPECT_TRUE(layer.calls().empty());
  EXPECT_EQ(layer.openPorts(), 1u);
  ClosePrinterPort(layer, 0, kept);
}

}  // namespace
}  // namespace tagwright
