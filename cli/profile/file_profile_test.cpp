#include "cli/profile/file_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/profile/atomic_file.h"
#include "cli/profile/posix_file_calls.h"
#include "core/settings/printer_settings.h"
#include "core/settings/settings_persistence.h"

namespace tagwright::cli {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tagwright-profile-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), {}));
  }

 private:
  std::string path_;
};

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void putFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

TEST(FileProfile, AnEmptyStoreAnswersEveryDefaultAndTheComponentGetsTheFreshRecord) {
  TempDir dir;
  FileProfile profile(dir.file("missing/profile"));
  ASSERT_FALSE(profile.load());
  profile.registerAs(kProfileName);
  PrinterSettings settings;
  settings.LabelSize = 999;  // must be replaced by the answered default
  ASSERT_TRUE(LoadSettings(profile, settings));
  EXPECT_EQ(settings, PrinterSettings{});
  EXPECT_EQ(settings.LabelSize, 25);
  EXPECT_EQ(settings.BarcodeReadable, 1);
}

TEST(FileProfile, StoredValuesWinOverDefaultsAndOnlyInTheRegisteredSection) {
  TempDir dir;
  putFile(dir.file("p"),
          "# hand written\n[Other]\nLabelSize = 7\n\n[Printer Tagwright]\n  LabelSize=60 \n"
          "TopMargin = -12\n");
  FileProfile profile(dir.file("p"));
  ASSERT_FALSE(profile.load());
  profile.registerAs(u"Printer Tagwright");
  ScriptValue value;
  ASSERT_TRUE(profile.read(u"LabelSize:25", value));
  EXPECT_EQ(value, ScriptValue::int32(60));
  ASSERT_TRUE(profile.read(u"TopMargin:0", value));
  EXPECT_EQ(value, ScriptValue::int32(-12));
  ASSERT_TRUE(profile.read(u"LabelWidth:43", value));
  EXPECT_EQ(value, ScriptValue::int32(43));
  // No value and no default to answer: the read fails.
  EXPECT_FALSE(profile.read(u"LabelWidth", value));
  EXPECT_FALSE(profile.read(u"LabelWidth:wide", value));
}

TEST(FileProfile, SavedValuesSurviveARestartAndOtherSectionsAreKept) {
  TempDir dir;
  const std::string path = dir.file("p");
  putFile(path, "[Other]\nX = 1\n");
  PrinterSettings written;
  for (const SettingKey& key : settingKeys()) written.*key.field = key.defaultValue + 100;
  written.BlackMarkLenght = 17;
  {
    FileProfile profile(path);
    ASSERT_FALSE(profile.load());
    profile.registerAs(kProfileName);
    SaveSettings(profile, written);
    ASSERT_FALSE(profile.save());
  }
  FileProfile again(path);
  ASSERT_FALSE(again.load());
  again.registerAs(kProfileName);
  PrinterSettings read;
  ASSERT_TRUE(LoadSettings(again, read));
  EXPECT_EQ(read, written);
  EXPECT_EQ(again.document().find("Other", "X"), 1);
  EXPECT_NE(contentOf(path).find("BlackMarkLenght = 17"), std::string::npos);
}

TEST(FileProfile, ADamagedFileIsReportedRefusesReadsAndIsNeverOverwritten) {
  const char* damaged[] = {
      "[Printer Tagwright]\nLabelSize = 25\nLabelWidth\n",      // no '='
      "[Printer Tagwright]\nLabelSize = 2.5\n",                 // not an integer
      "[Printer Tagwright]\nLabelSize = 4294967296\n",          // beyond 32 bits
      "LabelSize = 25\n",                                       // outside a section
      "[Printer Tagwright\nLabelSize = 25\n",                   // unclosed header
      "[Printer Tagwright]\nLabelSize = 25\nLabelSize = 30\n",  // given twice
      "[Printer Tagwright]\n = 25\n",                           // no key
  };
  for (const char* text : damaged) {
    TempDir dir;
    const std::string path = dir.file("p");
    putFile(path, text);
    FileProfile profile(path);
    std::optional<std::string> error = profile.load();
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->rfind(path + ":", 0), 0u) << *error;
    EXPECT_NE(error->find("left as it is"), std::string::npos);

    profile.registerAs(kProfileName);
    ScriptValue value;
    EXPECT_FALSE(profile.read(u"LabelSize:25", value)) << text;
    PrinterSettings settings;
    EXPECT_FALSE(LoadSettings(profile, settings));
    SaveSettings(profile, settings);
    EXPECT_TRUE(profile.save());
    EXPECT_EQ(contentOf(path), text);
    EXPECT_EQ(dir.entries(), 1u);
  }
}

TEST(FileProfile, NothingIsWrittenWhenNoValueChanged) {
  TempDir dir;
  const std::string path = dir.file("p");
  putFile(path, "[Printer Tagwright]\nLabelSize = 25 // kept\n");
  FileProfile damagedLooking(path);
  ASSERT_TRUE(damagedLooking.load());  // "25 // kept" is not an integer

  putFile(path, "; mine\n[Printer Tagwright]\nLabelSize = 25\n");
  FileProfile profile(path);
  ASSERT_FALSE(profile.load());
  profile.registerAs(kProfileName);
  profile.write(u"LabelSize", 25);
  ASSERT_FALSE(profile.save());
  EXPECT_EQ(contentOf(path), "; mine\n[Printer Tagwright]\nLabelSize = 25\n");
}

// Fails the write after `allowed` bytes, as a full disk does.
class FullDisk final : public FileCalls {
 public:
  explicit FullDisk(std::size_t allowed) : allowed_(allowed) {}
  ssize_t write(int fd, const void* data, std::size_t size) const override {
    if (allowed_ == 0) {
      errno = ENOSPC;
      return -1;
    }
    const std::size_t n = std::min(size, allowed_);
    allowed_ -= n;
    return FileCalls::write(fd, data, n);
  }

 private:
  mutable std::size_t allowed_;
};

// Interrupted and short writes: the whole content must still arrive.
class ChoppyWrites final : public FileCalls {
 public:
  ssize_t write(int fd, const void* data, std::size_t size) const override {
    if (calls_++ % 2 == 0) {
      errno = EINTR;
      return -1;
    }
    return FileCalls::write(fd, data, std::min<std::size_t>(size, 3));
  }

 private:
  mutable int calls_ = 0;
};

class FailingCall final : public FileCalls {
 public:
  explicit FailingCall(bool failFsync) : failFsync_(failFsync) {}
  int fsync(int fd) const override {
    if (failFsync_) {
      errno = EIO;
      return -1;
    }
    return FileCalls::fsync(fd);
  }
  int rename(const char* from, const char* to) const override {
    if (!failFsync_) {
      errno = EXDEV;
      return -1;
    }
    return FileCalls::rename(from, to);
  }

 private:
  bool failFsync_;
};

TEST(AtomicFile, AFailureAnywhereLeavesTheOldFileWholeAndNoTemporaryBehind) {
  const std::string oldContent = "[Printer Tagwright]\nLabelSize = 25\n";
  const std::string newContent(5000, 'x');
  const FullDisk fullAtOnce(0);
  const FullDisk fullHalfWay(2500);
  const FailingCall fsyncFails(true);
  const FailingCall renameFails(false);
  const FileCalls* faults[] = {&fullAtOnce, &fullHalfWay, &fsyncFails, &renameFails};
  for (const FileCalls* calls : faults) {
    TempDir dir;
    const std::string path = dir.file("profile");
    putFile(path, oldContent);
    std::optional<std::string> error = writeFileAtomicallyWith(*calls, path, newContent);
    ASSERT_TRUE(error);
    EXPECT_EQ(contentOf(path), oldContent) << *error;
    EXPECT_EQ(dir.entries(), 1u) << *error;
  }
}

TEST(AtomicFile, ReplacesWholeThroughShortAndInterruptedWritesAndKeepsTheMode) {
  TempDir dir;
  const std::string path = dir.file("profile");
  putFile(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const std::string content = "[Printer Tagwright]\nLabelSize = 30\n";
  ASSERT_FALSE(writeFileAtomicallyWith(ChoppyWrites{}, path, content));
  EXPECT_EQ(contentOf(path), content);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entries(), 1u);
}

TEST(AtomicFile, ANewFileIsPrivateAndItsDirectoriesAreMade) {
  TempDir dir;
  const std::string path = dir.file("a/b/profile");
  ASSERT_FALSE(writeFileAtomically(path, "x"));
  EXPECT_EQ(contentOf(path), "x");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFile, AConcurrentReaderSeesTheOldOrTheNewFileNeverAMix) {
  TempDir dir;
  const std::string path = dir.file("profile");
  const std::string small = "[S]\nA = 1\n";
  const std::string large = "[S]\n" + std::string(200000, '#') + "\nA = 2\n";
  ASSERT_FALSE(writeFileAtomically(path, small));
  std::atomic<bool> writing{true};
  std::atomic<int> mixed{0};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (writing) {
      const std::string seen = contentOf(path);
      if (seen != small && seen != large) ++mixed;
      ++reads;
    }
  });
  for (int round = 0; round < 60; ++round) {
    ASSERT_FALSE(writeFileAtomically(path, round % 2 ? small : large));
  }
  writing = false;
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace tagwright::cli
