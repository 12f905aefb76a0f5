#include "cli/app/linked_workshop.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace tagwright::cli
