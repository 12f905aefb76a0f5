#include "designer/script_document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "designer/method_parameters.h"
#include "platform/atomic_file.h"

namespace tagwright::designer {
namespace {

namespace fs = std::filesystem;

class ScriptDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "designer-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string file(const char* name) const { return (folder_ / name).string(); }
  static std::string contentOf(const std::string& path) {
    FileRead read = readWholeFile(path);
    return read && read.value() ? *read.value() : "(none)";
  }
  fs::path folder_;
};

TEST_F(ScriptDocumentTest, SavesOverWhatItLoadedAndRefusesAChangeOnDisk) {
  const std::string path = file("label.tws");
  ASSERT_TRUE(writeFileAtomically(path, "LabelWidth = 40\n"));
  Result<ScriptDocument> loaded = ScriptDocument::load(path);
  ASSERT_TRUE(loaded);
  ScriptDocument& document = loaded.value();
  EXPECT_EQ(document.text(), "LabelWidth = 40\n");

  ASSERT_TRUE(document.save("LabelWidth = 50\n"));
  EXPECT_EQ(contentOf(path), "LabelWidth = 50\n");
  // Saved again over its own save.
  ASSERT_TRUE(document.save("LabelWidth = 60\n"));
  EXPECT_EQ(contentOf(path), "LabelWidth = 60\n");

  // Someone else writes the file: the page's text must not replace theirs.
  ASSERT_TRUE(writeFileAtomically(path, "LabelWidth = 70\n"));
  const Status refused = document.save("LabelWidth = 80\n");
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().find("changed on disk"), std::string::npos) << refused.error();
  EXPECT_EQ(contentOf(path), "LabelWidth = 70\n");

  // A file removed since is a change too.
  fs::remove(path);
  EXPECT_FALSE(document.save("LabelWidth = 90\n"));
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(ScriptDocumentTest, ANewFileIsMadeByTheFirstSaveUnlessSomeoneMadeItFirst) {
  const std::string path = file("new.tws");
  Result<ScriptDocument> fresh = ScriptDocument::load(path);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh.value().text(), "");
  ASSERT_TRUE(fresh.value().save("StartLabel()\n"));
  EXPECT_EQ(contentOf(path), "StartLabel()\n");

  const std::string other = file("other.tws");
  Result<ScriptDocument> second = ScriptDocument::load(other);
  ASSERT_TRUE(second);
  ASSERT_TRUE(writeFileAtomically(other, "theirs\n"));
  EXPECT_FALSE(second.value().save("mine\n"));
  EXPECT_EQ(contentOf(other), "theirs\n");
}

TEST_F(ScriptDocumentTest, AFileWithCrLfLineEndsKeepsThem) {
  const std::string path = file("windows.tws");
  ASSERT_TRUE(writeFileAtomically(path, "LabelWidth = 40\r\nStartLabel()\r\n"));
  Result<ScriptDocument> loaded = ScriptDocument::load(path);
  ASSERT_TRUE(loaded);
  ASSERT_TRUE(loaded.value().save("LabelWidth = 50\nStartLabel()\n"));
  EXPECT_EQ(contentOf(path), "LabelWidth = 50\r\nStartLabel()\r\n");
  // Saved again: the file is what it was saved as, not a change on disk.
  ASSERT_TRUE(loaded.value().save("LabelWidth = 60\n"));
  EXPECT_EQ(contentOf(path), "LabelWidth = 60\r\n");
}

// The page offers each method's arguments by name: as many as the
// component takes.
TEST(MethodParameters, OneNameForEachArgumentTheComponentTakes) {
  for (std::int32_t n = 0; n < kMethodCount; ++n) {
    const MethodEntry* entry = methodEntry(n);
    EXPECT_EQ(methodParameters(static_cast<Method>(n)).size(),
              static_cast<std::size_t>(entry->paramCount))
        << n;
  }
}

}  // namespace
}  // namespace tagwright::designer
