#include "check/finding.h"

#include <algorithm>

namespace tagwright::cli {

const char* severityName(Severity severity) {
  return severity == Severity::Error ? "error" : "warning";
}

int CheckReport::count(Severity severity) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.severity == severity; }));
}

bool CheckReport::fails(bool strict) const {
  return strict ? !findings.empty() : count(Severity::Error) > 0;
}

void sortByPosition(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    if (a.position.line != b.position.line) return a.position.line < b.position.line;
    return a.position.column < b.position.column;
  });
}

}  // namespace tagwright::cli
