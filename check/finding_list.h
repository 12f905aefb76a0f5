#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/check_rules.h"
#include "check/finding.h"

namespace tagwright::cli {

// The findings of one script as the rules make them, each with its rule's
// severity.
class FindingList {
 public:
  explicit FindingList(std::string file = {}) : file_(std::move(file)) {}

  void setFile(std::string file) { file_ = std::move(file); }
  void add(std::string_view ruleName, SourcePosition at, std::string message) {
    findings_.push_back(
        {file_, at, checkRule(ruleName).severity, std::string(ruleName), std::move(message)});
  }
  const std::vector<Finding>& findings() const { return findings_; }
  std::vector<Finding> take() { return std::move(findings_); }

 private:
  std::string file_;
  std::vector<Finding> findings_;
};

}  // namespace tagwright::cli
