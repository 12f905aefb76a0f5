#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "check/finding.h"

namespace tagwright::cli {

enum class ReportFormat { Text, Json, Sarif };

// "text", "json" or "sarif"; nothing for any other name.
std::optional<ReportFormat> reportFormatNamed(std::string_view name);

// FILE:LINE:COLUMN: warning|error: message [rule], one finding a line, then
// one summary line.
void writeTextReport(const CheckReport& report, std::ostream& out);

// One JSON object: the findings in order and the counts.
void writeJsonReport(const CheckReport& report, std::ostream& out);

// A SARIF 2.1.0 log with one run: the tool with every rule, and a result
// for each finding with its place.
void writeSarifReport(const CheckReport& report, std::string_view toolVersion, std::ostream& out);

// The one summary line: "2 errors and 1 warning in 3 scripts".
std::string summaryLine(const CheckReport& report);

}  // namespace tagwright::cli
