#include "preview/job/command_stream.h"

#include <string>

#include "preview/assumptions.h"
#include "preview/job/fields.h"

namespace tagwright::preview {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

bool startsLabel(std::string_view line) { return line.substr(0, 2) == "^L"; }
bool endsLabel(std::string_view line) { return line == "E"; }

// Line feeds are noted once per job, with the first one's offset and a
// count, so that a job written with CR LF everywhere gets one note, not
// one per line.
struct LineFeedTally {
  std::size_t count = 0;
  std::size_t firstOffset = 0;
  void add(std::size_t offset) {
    if (count++ == 0) firstOffset = offset;
  }
};

}  // namespace

long long inlineImageDataSize(std::string_view line) {
  if (line.empty() || line.front() != 'Q') return -1;
  const std::vector<std::string_view> fields = splitFields(line.substr(1), 4);
  if (fields.size() != 4) return -1;
  const auto x = parseInteger(fields[0]);
  const auto y = parseInteger(fields[1]);
  const auto bytes = parseInteger(fields[2]);
  const auto rows = parseInteger(fields[3]);
  if (!x || !y || !bytes || !rows || *bytes < 0 || *rows < 0) return -1;
  return static_cast<long long>(*bytes) * *rows;
}

CommandStream splitCommands(std::string_view job, bool inLabel) {
  CommandStream stream;
  stream.commands.reserve(job.size() / 16 + 1);
  LineFeedTally lineFeeds;
  std::size_t position = 0;
  while (position < job.size()) {
    if (job[position] == kLineFeed) {  // after a CR, or a line of its own
      lineFeeds.add(position);
      ++position;
      continue;
    }
    const std::size_t start = position;
    std::size_t end = start;
    while (end < job.size() && job[end] != kCarriageReturn && job[end] != kLineFeed) ++end;
    Command command{start, job.substr(start, end - start), {}};
    const bool endedByCarriageReturn = end < job.size() && job[end] == kCarriageReturn;
    if (end == job.size()) {
      stream.notes.push_back({start,
                              "the last command has no CR to end it: the printer waits for "
                              "one; drawn as if it were there"});
      position = end;
    } else {
      if (job[end] == kLineFeed) lineFeeds.add(end);
      position = end + 1;
    }
    if (startsLabel(command.line)) inLabel = true;
    if (endsLabel(command.line)) inLabel = false;
    if (inLabel && endedByCarriageReturn) {
      const long long size = inlineImageDataSize(command.line);
      if (size >= 0) {
        const std::size_t available = job.size() - position;
        const std::size_t taken = static_cast<unsigned long long>(size) > available
                                      ? available
                                      : static_cast<std::size_t>(size);
        command.data = job.substr(position, taken);
        if (taken < static_cast<std::size_t>(size)) {
          stream.notes.push_back({start, "the inline image announces " + std::to_string(size) +
                                             " data bytes but the job ends after " +
                                             std::to_string(taken)});
        }
        position += taken;
      }
    }
    if (!command.line.empty()) stream.commands.push_back(command);
  }
  if (lineFeeds.count > 0) {
    static_assert(assumptions::kLineFeedEndsCommand);
    std::string text = "a line feed (LF) is not part of the printer language: skipped";
    if (lineFeeds.count > 1) {
      text += " here and at " + std::to_string(lineFeeds.count - 1) + " other places";
    }
    stream.notes.push_back({lineFeeds.firstOffset, text});
  }
  return stream;
}

}  // namespace tagwright::preview
