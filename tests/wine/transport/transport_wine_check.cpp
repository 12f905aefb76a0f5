// Checks the Windows print path on a Windows system or under Wine: the job
// runner, the worker and the port layer write to the ports behind COM5 and
// LPT1, a port that cannot be opened is reported with its text, and a
// message box that cannot be shown answers Failed. run.sh beside it puts a
// FIFO behind COM5 and a file behind LPT1 and compares what arrives.
// Prints one line per check and exits non-zero when any fails.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/transport/pending_jobs.h"
#include "core/transport/port_texts.h"
#include "core/transport/printer_port.h"
#include "core/transport/sleeper.h"
#include "platform/win32/transport/message_box_prompt.h"
#include "platform/win32/transport/version_close_delay.h"
#include "platform/win32/transport/win32_port_layer.h"
#include "platform/win32/transport/win32_print_runner.h"

namespace {

using namespace tagwright;

int failures = 0;

void check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++failures;
}

}  // namespace

int main() {
  Win32PortLayer layer;
  ThreadSleeper sleeper;

  std::string text;
  check(OpenPrinterPort(layer, sleeper, 8, text) == kInvalidPort &&
            text == portOpenFailedText(kErrorFileNotFound),
        "COM6 without a device gives the open failure with code 2");

  check(VersionCloseDelay().closeDelay() == std::chrono::milliseconds(0),
        "no close delay outside the Windows 95 family");

  check(answerOfMessageBox(IDABORT) == PromptAnswer::Abort &&
            answerOfMessageBox(IDRETRY) == PromptAnswer::Retry &&
            answerOfMessageBox(IDIGNORE) == PromptAnswer::Ignore &&
            answerOfMessageBox(0) == PromptAnswer::Failed &&
            answerOfMessageBox(-1) == PromptAnswer::Failed &&
            answerOfMessageBox(IDCANCEL) == PromptAnswer::Failed,
        "message box results map to the answers");

  MessageBoxPrompt prompt(GetModuleHandleW(nullptr));
  check(prompt.caption() == L"transport_wine_check", "the caption is the module's base name");
  if (GetEnvironmentVariableW(L"TAGWRIGHT_NO_DESKTOP", nullptr, 0) > 0) {
    check(prompt.ask(kPrinterNotConnectedText) == PromptAnswer::Failed,
          "a message box without a desktop answers Failed");
  }

  std::printf("info USB device interfaces present: %zu\n", layer.usbDevicePaths().size());

  {
    auto runner = makeWin32PrintRunner(GetModuleHandleW(nullptr));
    for (int n = 0; n < 50; ++n) runner->queue(PrintJob{"job" + std::to_string(n) + "\r\n", 7});
    runner->queue(PrintJob{std::string("lpt\0job\r", 8), 0});
  }  // the runner goes; its queued jobs still run
  check(processPendingJobs().waitUntilNone(std::chrono::milliseconds(30000)),
        "every queued job ends and the pending count returns to 0");

  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
