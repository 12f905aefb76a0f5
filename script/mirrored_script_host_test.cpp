#include "script/mirrored_script_host.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/host/linked_script_host.h"
#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"
#include "script/script_runner.h"
#include "support/fakes.h"

namespace tagwright::cli {
namespace {

// One component with its own jobs and settings.
struct Component {
  Component() : addIn(AddInServices{pages, jobs, abort}), host(addIn, &profile) {}
  IconvCodePages pages;
  testing::RecordingJobRunner jobs;
  PrintAbortState abort;
  testing::MemoryProfile profile;
  AddIn addIn;
  LinkedScriptHost host;
};

// run --preview on Windows draws what the DLL prints by feeding a second
// component the same calls: both must end with the same jobs, and the
// script must see only the primary's answers.
TEST(MirroredScriptHost, TheMirrorComposesTheSameJobsAndThePrimaryAnswers) {
  Component primary;
  Component mirror;
  MirroredScriptHost host(primary.host, mirror.host);
  ASSERT_EQ(host.start(), HostResult::Ok);
  // The mirror's speed differs until the script sets it: what the script
  // reads first must be the primary's.
  const std::int32_t speed = primary.host.findProperty(u"Speed").value();
  ASSERT_EQ(mirror.host.setProperty(speed, ScriptValue::int32(5)), HostResult::Ok);
  ASSERT_EQ(primary.host.setProperty(speed, ScriptValue::int32(2)), HostResult::Ok);
  const std::string script =
      "? Speed\nLabelWidth = 58\nSpeed = 3\nStartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", "
      "\"Цена\")\n"
      "PrintToBuff(2)\nPrint(1)\nStartLabel()\nPutRectangle(1, 1, 20, 20, 0, -2)\n"
      "Print(3)\n";
  PrepareResult prepared = prepareScripts({{"label.tws", script}}, host);
  ASSERT_TRUE(prepared) << prepared.error().message();
  std::ostringstream shown;
  ASSERT_TRUE(runPreparedScripts(prepared.value(), host, shown));
  EXPECT_EQ(host.finish(), HostResult::Ok);

  EXPECT_EQ(shown.str(), "Speed = 2\n");
  const auto printed = primary.jobs.jobs();
  const auto drawn = mirror.jobs.jobs();
  ASSERT_EQ(printed.size(), 2u);
  ASSERT_EQ(drawn.size(), printed.size());
  for (std::size_t i = 0; i < printed.size(); ++i) EXPECT_EQ(drawn[i].text, printed[i].text);
}

}  // namespace
}  // namespace tagwright::cli
