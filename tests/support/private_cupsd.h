#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/unique_resource.h"

namespace tagwright::testing {

// A CUPS server of a test's own: Debian's cupsd with a configuration folder
// in a temporary directory, listening on a free port of 127.0.0.1 only,
// with raw queues given by the test. It is stopped (and its folder removed)
// when the object goes; nothing is started for the whole machine.
class PrivateCupsd {
 public:
  static constexpr const char* kProgram = "/usr/sbin/cupsd";

  struct Queue {
    std::string name;
    std::string deviceUri;  // socket://127.0.0.1:PORT of a test printer
    bool accepting = true;
  };

  static bool installed() { return ::access(kProgram, X_OK) == 0; }

  explicit PrivateCupsd(const std::vector<Queue>& queues) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tagwright-cupsd-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    // cupsd runs its back ends as lp; they must reach the folder.
    std::filesystem::permissions(
        root_, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                   std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                   std::filesystem::perms::others_exec);
    for (const char* dir : {"conf", "spool", "cache", "state", "log", "tmp"}) {
      std::filesystem::create_directory(root_ / dir);
    }
    port_ = freePort();
    const std::string r = root_.string();
    std::ofstream(root_ / "conf/cupsd.conf")
        << "Listen 127.0.0.1:" << port_ << "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
        << "DefaultAuthType None\nJobRetryInterval 1\n"
        << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        << "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
        << "</Policy>\n";
    std::ofstream files(root_ / "conf/cups-files.conf");
    // As root, cupsd needs an unprivileged user for its back ends.
    if (::geteuid() == 0) files << "User lp\nGroup lp\n";
    files << "ServerRoot " << r << "/conf\nRequestRoot " << r << "/spool\nCacheDir " << r
          << "/cache\nStateDir " << r << "/state\nTempDir " << r << "/tmp\nErrorLog " << r
          << "/log/error_log\nAccessLog " << r << "/log/access_log\nPageLog " << r
          << "/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n";
    files.close();
    // A queue without a PPD is a raw queue: the job's bytes go to the
    // device as they are.
    std::ofstream printers(root_ / "conf/printers.conf");
    for (const Queue& q : queues) {
      printers << "<Printer " << q.name << ">\nInfo test printer\nDeviceURI " << q.deviceUri
               << "\nState Idle\nAccepting " << (q.accepting ? "Yes" : "No")
               << "\nShared No\nErrorPolicy abort-job\n</Printer>\n";
    }
    printers.close();

    // Made before the fork: the child of a threaded process only execs.
    const std::string conf = r + "/conf/cupsd.conf";
    const std::string filesConf = r + "/conf/cups-files.conf";
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl(kProgram, kProgram, "-f", "-c", conf.c_str(), "-s", filesConf.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ready_ = waitUntilListening(std::chrono::seconds(10));
  }

  ~PrivateCupsd() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
          ::kill(pid_, SIGKILL);
          ::waitpid(pid_, &status, 0);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  bool ready() const { return ready_; }
  std::uint16_t port() const { return port_; }
  std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string errorLog() const {
    std::ifstream in(root_ / "log/error_log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  static std::uint16_t freePort() {
    const unique_fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
  }

  bool waitUntilListening(std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;  // it ended, and is not to be stopped again
        return false;
      }
      const unique_fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = htons(port_);
      if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  std::filesystem::path root_;
  std::uint16_t port_ = 0;
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace tagwright::testing
