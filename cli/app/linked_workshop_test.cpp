#include "cli/app/linked_workshop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/app/linked_app.h"

namespace tagwright::cli {
namespace {

// The designer's render through the linked component: each element is
// placed on the picture of the label it belongs to, also when PrintToBuff
// collects several labels into one job, and a Print of the same label
// twice shows it twice; a script that does not read has its error and no
// pictures.
TEST(LinkedWorkshop, ElementsLandOnTheirOwnLabelsPictures) {
  ServeOptions options;
  options.profile =
      (std::filesystem::temp_directory_path() / "linked-workshop-test-profile").string();
  std::unique_ptr<ComponentBackEnd> backEnd = makeLinkedBackEnd();
  std::unique_ptr<designer::LabelWorkshop> workshop =
      makeLinkedWorkshop(options, *backEnd, 16LL * 1024 * 1024);

  const std::string script =
      "LabelHeight = 20\n"                             // 1
      "LabelWidth = 40\n"                              // 2
      "StartLabel()\n"                                 // 3
      "PutText(10, 10, 1, 1, 1, 0, \"A\", \"one\")\n"  // 4
      "PrintToBuff(1)\n"                               // 5
      "StartLabel()\n"                                 // 6
      "PutRectangle(5, 5, 100, 60, 2, 2)\n"            // 7
      "PrintToBuff(1)\n"                               // 8
      "Print(0)\n"                                     // 9
      "StartLabel()\n"                                 // 10
      "PutBarcode(\"Q\", 20, 40, 60, 0, \"AB12\")\n"   // 11
      "Print(1)\n"                                     // 12
      "Print(1)\n";                                    // 13
  const designer::Rendering r = workshop->render(script);
  ASSERT_FALSE(r.scriptError) << r.scriptErrorText;
  ASSERT_EQ(r.labels.size(), 4u);
  for (const designer::RenderedLabel& label : r.labels) {
    EXPECT_EQ(label.width, 320);
    EXPECT_EQ(label.height, 160);
    EXPECT_EQ(label.png.substr(1, 3), "PNG");
  }
  std::vector<std::pair<int, int>> placed;  // label, line
  for (const designer::ElementPlace& e : r.elements) {
    placed.emplace_back(e.label, e.line);
    EXPECT_LT(e.left, e.right);
    EXPECT_LT(e.top, e.bottom);
  }
  EXPECT_EQ(placed, (std::vector<std::pair<int, int>>{{0, 4}, {1, 7}, {2, 11}, {3, 11}}));
  const auto box = std::find_if(r.elements.begin(), r.elements.end(),
                                [](const designer::ElementPlace& e) { return e.line == 7; });
  ASSERT_NE(box, r.elements.end());
  EXPECT_EQ(box->left, 5);
  EXPECT_EQ(box->top, 5);

  const designer::Rendering broken = workshop->render("StartLabel()\nPutText(10,\n");
  ASSERT_TRUE(broken.scriptError);
  EXPECT_EQ(broken.scriptError->line, 2);
  EXPECT_EQ(broken.scriptErrorText.rfind("label.tws:2:", 0), 0u) << broken.scriptErrorText;
  EXPECT_TRUE(broken.labels.empty());
}

// A back end that reaches the component as tagwright.exe does through COM:
// it takes neither --confirm nor --on-port-error, and its sessions hand
// the jobs on without counting them. Here the jobs still go through the
// linked component, to a file, so that what was sent can be read back.
class UncountedBackEnd final : public ComponentBackEnd {
 public:
  std::optional<std::string> defaultProfilePath() const override {
    return linked_->defaultProfilePath();
  }
  std::string_view profileVariable() const override { return linked_->profileVariable(); }
  Status checkRunOptions(const RunOptions& options) override {
    if (options.delivery.onPortError) sawPortErrorPolicy = true;
    if (options.delivery.confirm) return Status::failure("this back end cannot confirm");
    return linked_->checkRunOptions(options);
  }
  Result<std::unique_ptr<ComponentSession>> open(const CodePageNames& pages, FileProfile* profile,
                                                 std::ostream& errors,
                                                 JobRouting routing) override {
    Result<std::unique_ptr<ComponentSession>> opened =
        linked_->open(pages, profile, errors, routing);
    if (!opened || !routing.delivery) return opened;
    return std::unique_ptr<ComponentSession>(
        std::make_unique<Uncounted>(std::move(opened).value()));
  }
  Result<std::string> listDevices(const DevicesOptions& options) const override {
    return linked_->listDevices(options);
  }
  bool appliesPortErrorPolicy() const override { return false; }
  Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                    const std::string& folderOrFile,
                                                    std::ostream& out,
                                                    std::ostream& err) const override {
    return linked_->makePreview(drawing, folderOrFile, out, err);
  }
  std::unique_ptr<CodePages> codePages(const std::string& ansi,
                                       const std::string& oem) const override {
    return linked_->codePages(ansi, oem);
  }

  bool sawPortErrorPolicy = false;

 private:
  class Uncounted final : public ComponentSession {
   public:
    explicit Uncounted(std::unique_ptr<ComponentSession> inner) : inner_(std::move(inner)) {}
    ScriptHost& host() override { return inner_->host(); }
    JobTally waitForJobs() override {
      inner_->waitForJobs();
      return {};
    }
    bool countsJobs() const override { return false; }
    const AddIn* linkedComponent() const override { return inner_->linkedComponent(); }

   private:
    std::unique_ptr<ComponentSession> inner_;
  };
  std::unique_ptr<ComponentBackEnd> linked_ = makeLinkedBackEnd();
};

// Print through a back end that can neither confirm nor count: the job is
// sent, the answer says it was handed on unconfirmed and where to, and the
// back end is never handed a port-error policy it cannot apply. A script
// named with Windows' separators is called by its own name.
TEST(LinkedWorkshop, PrintsUnconfirmedThroughABackEndThatDoesNotCount) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "linked-workshop-uncounted";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string device = (folder / "lpt1.prn").string();
  std::ofstream(device).close();  // a device file is made by its owner

  ServeOptions options;
  options.profile = (folder / "profile").string();
  options.file = "C:\\labels\\box.tws";
  options.delivery.ports.devices = {{"LPT1", device}};
  UncountedBackEnd backEnd;
  std::unique_ptr<designer::LabelWorkshop> workshop =
      makeLinkedWorkshop(options, backEnd, 16LL * 1024 * 1024);

  const designer::PrintOutcome printed =
      workshop->print("StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"boxed\")\nPrint(1)\n");
  EXPECT_TRUE(printed.sent) << printed.answer;
  EXPECT_NE(printed.answer.find("not confirmed: this back end cannot confirm"), std::string::npos)
      << printed.answer;
  EXPECT_NE(printed.answer.find("handed to the component for LPT1=" + device), std::string::npos)
      << printed.answer;
  EXPECT_FALSE(backEnd.sawPortErrorPolicy);
  std::ostringstream job;
  job << std::ifstream(device).rdbuf();
  EXPECT_NE(job.str().find("boxed"), std::string::npos) << job.str();

  const designer::PrintOutcome refused = workshop->print("StartLabel(\n");
  EXPECT_FALSE(refused.sent);
  EXPECT_EQ(refused.answer.rfind("box.tws:", 0), 0u) << refused.answer;
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tagwright::cli
