#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "virtual_printer/status_machine.h"
#include "preview/preview.h"

namespace tagwright::cli::printer {

// One label format the printer received, as drawn by the preview.
struct LabelRecord {
  int job = 0;
  int label = 0;  // in its job, from 1
  int copies = 1;
  int widthDots = 0;
  int heightDots = 0;
  int dotsPerMm = 8;
  std::string picture;  // the file written, or empty
  std::string error;    // why it could not be drawn or written, or empty
  std::vector<preview::PreviewNote> notes;
};

// One job: the bytes of one connection, one writer of a pipe, one file.
struct JobRecord {
  int job = 0;
  // The job's commands; status queries, the reply setting and a parallel
  // port's zero test byte are not counted (nor are they in the notes'
  // byte offsets).
  std::size_t bytes = 0;
  int labels = 0;
  int copies = 0;
  std::vector<preview::PreviewNote> notes;  // about commands outside the label formats
};

// What the virtual printer tells: one line for each thing, as text for a
// person or as JSON lines (one object a line, with an "event" member) for
// a program. Every line is flushed at once, so that a reader sees it while
// the printer runs; lines from several threads never mix.
class PrinterLog {
 public:
  PrinterLog(std::ostream& out, bool json) : out_(out), json_(json) {}

  void listening(const std::string& kind, const std::string& where);
  void label(const LabelRecord& record);
  void job(const JobRecord& record);
  void query(const std::string& command, const std::optional<std::string>& answer);
  void printed(const PrinterEvent& event);
  void notice(const std::string& text);
  void stopped(const std::string& reason);

 private:
  void line(const std::string& text);

  std::ostream& out_;
  bool json_;
  std::mutex lock_;
};

}  // namespace tagwright::cli::printer
