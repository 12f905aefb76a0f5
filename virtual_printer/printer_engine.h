#pragma once

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "virtual_printer/label_stream.h"
#include "virtual_printer/printer_log.h"
#include "virtual_printer/status_machine.h"
#include "preview/preview.h"

namespace tagwright::cli::printer {

struct EngineSetup {
  preview::PreviewOptions preview;
  std::optional<std::string> pictureFolder;  // --preview: pictures written here
  double speedFactor = 1;
  StatusMachine::Setup status;
  std::size_t bufferCap = 16 * 1024 * 1024;
  bool immediateReplies = false;             // the stored setting when the printer starts
  bool answerQueries = true;                 // false: no query is ever answered (replies lost)
  std::optional<std::string> captureFolder;  // each job's bytes written as jobJ.bin here
};

// The printer behind any connection: takes the bytes of one job at a time,
// draws each label format it completes, answers the status queries (only
// while immediate replies are on, a setting kept for the printer's life,
// as a printer stores it) and "prints" the labels at the speed the stream
// sets. Knows nothing of sockets or terminals.
class PrinterEngine {
 public:
  PrinterEngine(EngineSetup setup, PrinterLog& log);

  void startJob();
  // Takes the next bytes of the job; returns what the printer answers on
  // the same connection (empty when nothing), whether or not the caller
  // can deliver it (`canAnswer` false: the log says the answer is lost).
  std::string receive(std::string_view bytes, PrinterClock::time_point now, bool canAnswer = true);
  // The job's input ended: what is left is drawn and the job is logged.
  // False when there was no job to log (nothing, or only queries).
  bool endJob(PrinterClock::time_point now);
  bool inJob() const { return inJob_; }
  // The job's bytes so far, queries and the reply setting left out: what
  // tells a job going on from a program that only asks.
  std::size_t jobContentBytes() const { return jobBytes_ + stream_.held(); }

  // Logs the labels printed and faults met up to `now`.
  void tick(PrinterClock::time_point now);
  // When tick() has something to tell next, if anything is printing.
  std::optional<PrinterClock::time_point> nextChange() const { return machine_.nextChange(); }
  PrinterStatus status(PrinterClock::time_point now) { return machine_.status(now); }

 private:
  void takeLabel(const std::string& bytes, PrinterClock::time_point now);
  void followMedia(std::string_view bytes);
  void capture(const std::string& bytes);

  EngineSetup setup_;
  PrinterLog& log_;
  preview::Previewer previewer_;
  StatusMachine machine_;
  LabelStream stream_;
  MediaMotion motion_;
  bool immediate_;
  bool inJob_ = false;
  int jobNumber_ = 0;
  std::size_t jobBytes_ = 0;
  std::size_t jobOffset_ = 0;  // bytes of the job already handed to the preview
  int jobLabels_ = 0;
  int jobCopies_ = 0;
  bool jobHadContent_ = false;  // anything besides queries and the reply setting
  std::vector<preview::PreviewNote> jobNotes_;
  std::ofstream capture_;  // the job's bytes, opened with its first piece
  bool captureFailed_ = false;
};

}  // namespace tagwright::cli::printer
