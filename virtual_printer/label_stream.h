#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright::cli::printer {

// What the stream of one job held, in the order it arrived.
struct StreamItem {
  enum class Kind {
    CheckQuery,        // ~S,CHECK: answered at once, not part of the job
    StatusQuery,       // ~S,STATUS: the same
    ImmediateReplies,  // ^XSET,IMMEDIATE,n: `on` says which; a setting, not part of the job
    Label,             // `bytes` run up to and with the E that ends a label format
    Dropped,           // the cap was reached: `dropped` bytes were thrown away
  };
  Kind kind = Kind::Label;
  bool on = false;
  std::string bytes;
  std::size_t dropped = 0;
};

// Cuts a job's bytes, as they arrive in pieces of any size, into the
// pieces the printer acts on: each label format with the set-up commands
// before it (for the preview, which keeps the printer's state from one
// piece to the next), and the status queries, which a printer answers as
// soon as their CR arrives. Commands are found by the preview's own
// splitter, so that an inline image's data is never read as commands.
// Never holds more than `cap` bytes: past it, what is held is dropped and
// reported.
class LabelStream {
 public:
  explicit LabelStream(std::size_t cap) : cap_(cap) {}

  std::vector<StreamItem> feed(std::string_view bytes);
  // The job ended: what is left (commands after the last label, or a
  // label format that never ended), as one kLabel item if there is any.
  std::vector<StreamItem> finish();

  // A label format has begun (^L) and its E has not come yet.
  bool insideLabel() const { return insideLabel_; }
  std::size_t held() const { return pending_.size(); }

 private:
  void take(std::vector<StreamItem>& items);

  std::string pending_;
  std::size_t scanned_ = 0;  // commands before this offset were looked at
  bool insideLabel_ = false;
  bool imageAwaited_ = false;  // an inline image's data is still arriving
  std::size_t cap_;
};

}  // namespace tagwright::cli::printer
