#include "platform/posix/atomic_file_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

using test_support::contentOf;
using test_support::putFile;
using test_support::TempDir;

// Fails the write after `allowed` bytes, as a full disk does.
class FullDisk final : public SystemCalls {
 public:
  explicit FullDisk(std::size_t allowed) : allowed_(allowed) {}
  ssize_t writeSome(int fd, const void* data, std::size_t size) override {
    if (allowed_ == 0) {
      errno = ENOSPC;
      return -1;
    }
    const std::size_t n = std::min(size, allowed_);
    allowed_ -= n;
    return SystemCalls::writeSome(fd, data, n);
  }

 private:
  std::size_t allowed_;
};

// Interrupted and short writes: the whole content must still arrive.
class ChoppyWrites final : public SystemCalls {
 public:
  ssize_t writeSome(int fd, const void* data, std::size_t size) override {
    if (calls_++ % 2 == 0) {
      errno = EINTR;
      return -1;
    }
    return SystemCalls::writeSome(fd, data, std::min<std::size_t>(size, 3));
  }

 private:
  int calls_ = 0;
};

class FailingCall final : public SystemCalls {
 public:
  explicit FailingCall(bool failFsync) : failFsync_(failFsync) {}
  int syncFile(int fd) override {
    if (failFsync_) {
      errno = EIO;
      return -1;
    }
    return SystemCalls::syncFile(fd);
  }
  int renameFile(const char* from, const char* to) override {
    if (!failFsync_) {
      errno = EXDEV;
      return -1;
    }
    return SystemCalls::renameFile(from, to);
  }

 private:
  bool failFsync_;
};

TEST(AtomicFile, AFailureAnywhereLeavesTheOldFileWholeAndNoTemporaryBehind) {
  const std::string oldContent = "[Printer Tagwright]\nLabelSize = 25\n";
  const std::string newContent(5000, 'x');
  FullDisk fullAtOnce(0);
  FullDisk fullHalfWay(2500);
  FailingCall fsyncFails(true);
  FailingCall renameFails(false);
  SystemCalls* faults[] = {&fullAtOnce, &fullHalfWay, &fsyncFails, &renameFails};
  for (SystemCalls* calls : faults) {
    TempDir dir;
    const std::string path = dir.file("profile");
    putFile(path, oldContent);
    const Status written = writeFileAtomicallyWith(*calls, path, newContent);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(contentOf(path), oldContent) << written.error();
    EXPECT_EQ(dir.entries(), 1u) << written.error();
  }
}

TEST(AtomicFile, ReplacesWholeThroughShortAndInterruptedWritesAndKeepsTheMode) {
  TempDir dir;
  const std::string path = dir.file("profile");
  putFile(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const std::string content = "[Printer Tagwright]\nLabelSize = 30\n";
  ChoppyWrites choppy;
  ASSERT_TRUE(writeFileAtomicallyWith(choppy, path, content).ok());
  EXPECT_EQ(contentOf(path), content);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entries(), 1u);
}

TEST(AtomicFile, ANewFileIsPrivateAndItsDirectoriesAreMade) {
  TempDir dir;
  const std::string path = dir.file("a/b/profile");
  ASSERT_TRUE(writeFileAtomically(path, "x").ok());
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
  ASSERT_TRUE(writeFileAtomically(path, small).ok());
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
    ASSERT_TRUE(writeFileAtomically(path, round % 2 ? small : large).ok());
  }
  writing = false;
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace tagwright
