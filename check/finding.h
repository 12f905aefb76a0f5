#pragma once

#include <string>
#include <vector>

#include "script/script_lexer.h"

namespace tagwright::cli {

enum class Severity { Warning, Error };

// "error" or "warning", as every report format names it.
const char* severityName(Severity severity);

// One mistake the check found in a script, at the place it is about.
struct Finding {
  std::string file;
  SourcePosition position;
  Severity severity = Severity::Warning;
  std::string rule;  // the rule's name, as docs/check.md lists it
  std::string message;
};

// What checking a set of scripts found, in script order.
struct CheckReport {
  std::vector<Finding> findings;
  int scripts = 0;

  int count(Severity severity) const;
  // Whether the findings fail the check: any error, or with `strict` any
  // finding at all.
  bool fails(bool strict) const;
};

// Orders one script's findings by their place in it, keeping the order in
// which findings at the same place were made.
void sortByPosition(std::vector<Finding>& findings);

}  // namespace tagwright::cli
