#include "virtual_printer/label_stream.h"

#include "status/printer_status.h"
#include "preview/job/command_stream.h"

namespace tagwright::cli::printer {
namespace {

// Where a command ends, its CR (or line feed) and inline image data (inside
// a label format) included, or 0 when it has not arrived whole yet.
std::size_t completeEnd(const preview::Command& command, std::string_view held, bool inLabel) {
  const std::size_t lineEnd = command.offset + command.line.size();
  if (lineEnd >= held.size()) return 0;
  // A line feed ends a command as the preview reads it; waiting for a CR
  // instead would hold all that follows until the job ends.
  if (held[lineEnd] == '\n') return lineEnd + 1;
  if (held[lineEnd] != '\r') return 0;
  const long long imageSize = inLabel ? preview::inlineImageDataSize(command.line) : -1;
  if (imageSize > 0) {
    if (command.data.size() < static_cast<std::size_t>(imageSize)) return 0;
    return lineEnd + 1 + command.data.size();
  }
  return lineEnd + 1;
}

}  // namespace

// Only the commands after `scanned_` are split, once for each piece that
// can complete one (a CR, a line feed, or data an inline image awaits):
// a peer that sends a line without end, or a crowd of queries, costs time
// in proportion to its bytes.
std::vector<StreamItem> LabelStream::feed(std::string_view bytes) {
  std::vector<StreamItem> items;
  const bool mayComplete = imageAwaited_ || bytes.find_first_of("\r\n") != std::string::npos;
  pending_.append(bytes);
  if (mayComplete) take(items);
  if (pending_.size() > cap_) {
    StreamItem item;
    item.kind = StreamItem::Kind::Dropped;
    item.dropped = pending_.size();
    items.push_back(std::move(item));
    pending_.clear();
    scanned_ = 0;
    insideLabel_ = false;
    imageAwaited_ = false;
  }
  return items;
}

void LabelStream::take(std::vector<StreamItem>& items) {
  imageAwaited_ = false;
  const std::string_view held(pending_);
  const preview::CommandStream stream = preview::splitCommands(held.substr(scanned_), insideLabel_);
  std::string label;       // the label format being put together, queries left out
  std::size_t copied = 0;  // held bytes before this are in `label` or an item
  std::size_t scanEnd = scanned_;
  for (preview::Command command : stream.commands) {
    command.offset += scanned_;
    const std::size_t end = completeEnd(command, held, insideLabel_);
    if (end == 0) {
      const std::size_t lineEnd = command.offset + command.line.size();
      imageAwaited_ = lineEnd < held.size() && held[lineEnd] == '\r';
      break;
    }
    scanEnd = end;
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
      label.append(held.substr(copied, command.offset - copied));
      copied = end;
      continue;
    }
    if (line.substr(0, 2) == "^L") {
      insideLabel_ = true;
    } else if (line == "E" && insideLabel_) {
      insideLabel_ = false;
      StreamItem item;
      item.kind = StreamItem::Kind::Label;
      item.bytes = std::move(label);
      item.bytes.append(held.substr(copied, end - copied));
      items.push_back(std::move(item));
      label.clear();
      copied = end;
    }
  }
  // What stays: the label so far, then the bytes not yet taken.
  scanned_ = label.size() + (scanEnd - copied);
  label.append(held.substr(copied));
  pending_ = std::move(label);
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
  imageAwaited_ = false;
  return items;
}

}  // namespace tagwright::cli::printer
