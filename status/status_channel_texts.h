#pragma once

#include <string_view>

namespace tagwright::cli {

// The words of a status channel on every system.
inline constexpr std::string_view kNoAnswersFromQueue =
    "a print-server queue carries jobs one way and no answers";
inline constexpr std::string_view kNoAnswersFromFile = "a file cannot answer";
inline constexpr std::string_view kNoAnswersFromPipe =
    "a named pipe carries jobs one way and no answers";
inline constexpr std::string_view kNoAnswersFromParallel =
    "a parallel port carries jobs one way and no answers";
inline constexpr std::string_view kTakesNoQuery = "the printer takes no data";
inline constexpr std::string_view kCannotSendQuery = "cannot send the query: ";
inline constexpr std::string_view kPrinterClosed = "the printer closed the connection";
inline constexpr std::string_view kConnectionFailed = "the connection failed: ";

}  // namespace tagwright::cli
