#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app/linked_app.h"
#include "support/temp_dir.h"

namespace tagwright::cli {

namespace fs = std::filesystem;

// The tagwright program with the component linked in, run in a folder of its own, with its output
// and errors caught.
class LinkedProgramTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.file(name); }
  void put(const std::string& name, const std::string& content) const {
    test_support::putFile(path(name), content);
  }
  std::string content(const std::string& name) const { return test_support::contentOf(path(name)); }
  int run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return runLinkedProgram(args, out_, err_);
  }

  test_support::TempDir dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

}  // namespace tagwright::cli
