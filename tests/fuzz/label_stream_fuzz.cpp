// libFuzzer entry point over the virtual printer's label stream: any bytes
// as a job arriving in pieces whose sizes the input chooses. The stream
// must never hold more than its cap; every byte that came must come out
// once (in a label, a query, a setting, dropped, or left as line ends);
// every label but the last must end with its E (and the CR or line feed
// that ends it); and with a cap the job
// cannot reach, how the bytes were cut into pieces must not change what
// comes out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "status/printer_status.h"
#include "virtual_printer/label_stream.h"

namespace {

using tagwright::cli::printer::LabelStream;
using tagwright::cli::printer::StreamItem;
using Kind = StreamItem::Kind;

// The bytes an item stands for in the job.
std::size_t itemBytes(const StreamItem& item) {
  using namespace tagwright::cli;
  switch (item.kind) {
    case Kind::CheckQuery: return kCheckQuery.size() + 1;
    case Kind::StatusQuery: return kStatusQuery.size() + 1;
    case Kind::ImmediateReplies:
      return (item.on ? kImmediateRepliesOn : kImmediateRepliesOff).size() + 1;
    case Kind::Label: return item.bytes.size();
    case Kind::Dropped: return item.dropped;
  }
  return 0;
}

struct Run {
  std::vector<StreamItem> items;
  std::size_t leftOver = 0;  // line ends after the last label, not reported
};

Run feed(std::string_view job, std::size_t cap, unsigned pieceSeed) {
  LabelStream stream(cap);
  Run run;
  for (std::size_t at = 0, n = 0; at < job.size(); ++n) {
    const std::size_t piece = pieceSeed == 0 ? job.size() : 1 + (pieceSeed * (n + 1)) % 31;
    for (StreamItem& item : stream.feed(job.substr(at, piece))) run.items.push_back(item);
    at += piece;
    if (stream.held() > cap) __builtin_trap();
  }
  const std::size_t held = stream.held();
  std::size_t finished = 0;
  for (StreamItem& item : stream.finish()) {
    finished += itemBytes(item);
    run.items.push_back(item);
  }
  if (stream.held() != 0 || stream.insideLabel()) __builtin_trap();
  if (finished != 0 && finished != held) __builtin_trap();
  if (finished == 0) run.leftOver = held;
  return run;
}

void checkRun(const Run& run, std::size_t jobSize) {
  std::size_t total = run.leftOver;
  for (std::size_t i = 0; i < run.items.size(); ++i) {
    const StreamItem& item = run.items[i];
    total += itemBytes(item);
    if (item.kind == Kind::Label) {
      if (item.bytes.empty()) __builtin_trap();
      // Only what finish() hands back may lack the E that ends a label.
      const bool last = i + 1 == run.items.size();
      const std::string_view bytes = item.bytes;
      const std::string_view end =
          bytes.substr(bytes.size() - std::min<std::size_t>(2, bytes.size()));
      if (!last && end != "E\r" && end != "E\n") __builtin_trap();
    }
  }
  if (total != jobSize) __builtin_trap();
}

bool sameItems(const std::vector<StreamItem>& a, const std::vector<StreamItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].on != b[i].on || a[i].bytes != b[i].bytes ||
        a[i].dropped != b[i].dropped) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const unsigned pieceSeed = data[0];
  const std::size_t smallCap = 16 + data[1] * 4;
  const std::string_view job(reinterpret_cast<const char*>(data + 2), size - 2);

  const Run whole = feed(job, job.size() + 1, 0);
  checkRun(whole, job.size());
  const Run pieces = feed(job, job.size() + 1, pieceSeed | 1);
  checkRun(pieces, job.size());
  if (!sameItems(whole.items, pieces.items)) __builtin_trap();

  // A cap the job may pass: it drops, but still accounts for every byte.
  checkRun(feed(job, smallCap, pieceSeed | 1), job.size());
  return 0;
}
