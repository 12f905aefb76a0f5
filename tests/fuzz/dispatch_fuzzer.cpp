// libFuzzer target: random calls through the add-in dispatch must never
// crash and never break the command text's form.
#include <cstdlib>

#include "platform/posix/iconv_code_pages.h"
#include "support/dispatch_driver.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  static IconvCodePages codePages;
  testing::RecordingJobRunner runner;
  PrintAbortState abort;
  AddIn addIn{AddInServices{codePages, runner, abort}};
  testing::DispatchDriver driver(data, size);
  while (!driver.done()) {
    driver.step(addIn);
    for (const std::string* text :
         {&addIn.label().headerText(), &addIn.label().bodyText(), &addIn.label().jobText()}) {
      if (!testing::checkCommandText(*text).empty()) std::abort();
    }
  }
  for (const PrintJob& job : runner.jobs()) {
    if (!testing::checkCommandText(job.text).empty()) std::abort();
  }
  return 0;
}
