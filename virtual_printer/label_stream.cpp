#include "virtual_printer/label_stream.h"

#include "status/printer_status.h"
#include "preview/job/command_stream.h"

namespace tagwright::cli::printer {
namespace {

// Where a command ends, CR and inline image data (inside a label format)
// included, or 0 when it has not arrived whole yet.
std::size_t completeEnd(const preview::Command& command, std::string_view held, bool inLabel) {
  const std::size_t lineEnd = command.offset + command.line.size();
  if (lineEnd >= held.size() || held[lineEnd] != '\r') return 0;
  const long long imageSize = inLabel ? preview::inlineImageDataSize(command.line) : -1;
  if (imageSize > 0) {
    if (command.data.size() < static_cast<std::size_t>(imageSize)) return 0;
    return lineEnd + 1 + command.data.size();
  }
  return lineEnd + 1;
}

}  // namespace

std::vector<StreamItem> LabelStream::feed(std::string_view bytes) {
  std::vector<StreamItem> items;
  pending_.append(bytes);
  bool again = true;
  while (again) {
    again = false;
    const preview::CommandStream stream = preview::splitCommands(pending_);
    for (const preview::Command& command : stream.commands) {
      if (command.offset + command.line.size() < scanned_) continue;  // looked at before
      const std::size_t end = completeEnd(command, pending_, insideLabel_);
      if (end == 0) break;
      scanned_ = end;
      const std::string_view line = command.line;
      // Queries and the reply setting act at once and leave the job.
      const bool query = line == kCheckQuery || line == kStatusQuery;
      const bool setting = line == kImmediateRepliesOn || line == kImmediateRepliesOff;
      if (query || setting) {
        StreamItem item;
        item.kind = setting               ? StreamItem::Kind::ImmediateReplies
                    : line == kCheckQuery ? StreamItem::Kind::CheckQuery
                                          : StreamItem::Kind::StatusQuery;
        item.on = line == kImmediateRepliesOn;
        items.push_back(std::move(item));
        pending_.erase(command.offset, end - command.offset);
        scanned_ = command.offset;
        again = true;
        break;
      }
      if (line.substr(0, 2) == "^L") {
        insideLabel_ = true;
      } else if (line == "E" && insideLabel_) {
        insideLabel_ = false;
        StreamItem item;
        item.kind = StreamItem::Kind::Label;
        item.bytes = pending_.substr(0, end);
        items.push_back(std::move(item));
        pending_.erase(0, end);
        scanned_ = 0;
        again = true;
        break;
      }
    }
  }
  if (pending_.size() > cap_) {
    StreamItem item;
    item.kind = StreamItem::Kind::Dropped;
    item.dropped = pending_.size();
    items.push_back(std::move(item));
    pending_.clear();
    scanned_ = 0;
    insideLabel_ = false;
  }
  return items;
}

std::vector<StreamItem> LabelStream::finish() {
  std::vector<StreamItem> items;
  // A line feed or two after the last label is nothing to draw.
  if (pending_.find_first_not_of("\r\n") != std::string::npos) {
    StreamItem item;
    item.kind = StreamItem::Kind::Label;
    item.bytes = std::move(pending_);
    items.push_back(std::move(item));
  }
  pending_.clear();
  scanned_ = 0;
  insideLabel_ = false;
  return items;
}

}  // namespace tagwright::cli::printer
