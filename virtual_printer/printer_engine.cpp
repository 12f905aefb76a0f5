#include "virtual_printer/printer_engine.h"

#include "preview/picture_files.h"
#include "preview/job/command_stream.h"
#include "preview/job/fields.h"
#include "preview/util/utf8_path.h"

namespace tagwright::cli::printer {

PrinterEngine::PrinterEngine(EngineSetup setup, PrinterLog& log)
    : setup_(std::move(setup)),
      log_(log),
      previewer_(setup_.preview),
      machine_(setup_.status),
      stream_(setup_.bufferCap),
      immediate_(setup_.immediateReplies) {}

void PrinterEngine::startJob() {
  if (inJob_) return;
  inJob_ = true;
  ++jobNumber_;
  jobBytes_ = 0;
  jobOffset_ = 0;
  jobLabels_ = 0;
  jobCopies_ = 0;
  jobHadContent_ = false;
  jobNotes_.clear();
}

std::string PrinterEngine::receive(std::string_view bytes, PrinterClock::time_point now,
                                   bool canAnswer) {
  startJob();
  if (jobOffset_ == 0 && stream_.held() == 0) {
    // A parallel port writes one zero byte before each job to test the
    // line; the printer takes it for nothing.
    const std::size_t zeros = bytes.find_first_not_of('\0');
    bytes.remove_prefix(zeros == std::string_view::npos ? bytes.size() : zeros);
  }
  std::string answers;
  for (StreamItem& item : stream_.feed(bytes)) {
    switch (item.kind) {
      case StreamItem::Kind::CheckQuery:
      case StreamItem::Kind::StatusQuery: {
        const bool check = item.kind == StreamItem::Kind::CheckQuery;
        const std::string command(check ? kCheckQuery : kStatusQuery);
        if (!immediate_ || !setup_.answerQueries) {
          log_.query(command, std::nullopt);
          break;
        }
        machine_.setReceiving(stream_.insideLabel());
        tick(now);  // what happened before the query is logged before it
        const PrinterStatus status = machine_.status(now);
        std::string answer = check ? checkReply(status.code) : statusReply(status);
        log_.query(command, answer.substr(0, answer.size() - 2) +
                                (canAnswer ? "" : " (lost: this input has no way back)"));
        answers += answer;
        break;
      }
      case StreamItem::Kind::ImmediateReplies: immediate_ = item.on; break;
      case StreamItem::Kind::Label: takeLabel(item.bytes, now); break;
      case StreamItem::Kind::Dropped:
        log_.notice("job " + std::to_string(jobNumber_) + ": the printer's buffer of " +
                    std::to_string(setup_.bufferCap) + " bytes is full without a whole label: " +
                    std::to_string(item.dropped) + " bytes dropped");
        jobOffset_ += item.dropped;
        jobBytes_ += item.dropped;
        jobHadContent_ = true;
        break;
    }
  }
  machine_.setReceiving(stream_.insideLabel());
  tick(now);
  return answers;
}

void PrinterEngine::followMedia(std::string_view bytes) {
  for (const preview::Command& command : preview::splitCommands(bytes).commands) {
    const std::string_view line = command.line;
    if (line.substr(0, 2) == "^Q") {
      const std::vector<std::string_view> fields = preview::splitFields(line.substr(2), 3);
      const std::optional<double> length =
          fields.empty() ? std::nullopt : preview::parseMillimetres(fields[0]);
      if (!length) continue;
      // Gap media feed the gap; continuous media feed their third field;
      // black-mark media move from mark to mark, the label's length.
      double extra = 0;
      if (fields.size() >= 2) {
        if (const auto gap = preview::parseMillimetres(fields[1]); gap && *gap > 0) {
          extra = fields.size() == 2 ? *gap : 0;
        } else if (fields.size() == 3) {
          extra = preview::parseMillimetres(fields[2]).value_or(0);
        }
      }
      motion_.feedMm = *length + extra;
    } else if (line.substr(0, 2) == "^S") {
      if (const auto speed = preview::parseInteger(line.substr(2)); speed && *speed > 0) {
        motion_.inchesPerSecond = *speed;
      }
    }
  }
}

void PrinterEngine::capture(const std::string& bytes) {
  if (!setup_.captureFolder || captureFailed_) return;
  if (!capture_.is_open()) {
    const std::string path = *setup_.captureFolder + "/job" + std::to_string(jobNumber_) + ".bin";
    capture_.open(preview::pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  }
  capture_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!capture_.flush()) {
    captureFailed_ = true;
    log_.notice("job " + std::to_string(jobNumber_) + ": its bytes cannot be written to " +
                *setup_.captureFolder + "; nothing more is captured");
  }
}

void PrinterEngine::takeLabel(const std::string& bytes, PrinterClock::time_point now) {
  jobHadContent_ = true;
  jobBytes_ += bytes.size();
  capture(bytes);
  followMedia(bytes);
  preview::JobPreview drawn = previewer_.renderJob(bytes);
  for (preview::PreviewNote note : drawn.notes) {
    note.offset += jobOffset_;
    jobNotes_.push_back(std::move(note));
  }
  for (preview::LabelPicture& picture : drawn.labels) {
    LabelRecord record;
    record.job = jobNumber_;
    record.label = ++jobLabels_;
    record.copies = picture.copies;
    record.dotsPerMm = setup_.preview.dotsPerMm;
    record.widthDots = picture.image.width();
    record.heightDots = picture.image.height();
    record.error = picture.error;
    record.notes = std::move(picture.notes);
    for (preview::PreviewNote& note : record.notes) note.offset += jobOffset_;
    if (record.error.empty() && setup_.pictureFolder) {
      const std::string path =
          picturePath(*setup_.pictureFolder, "job" + std::to_string(jobNumber_), record.label);
      if (const Status written = preview::writePng(picture.image, setup_.preview.dotsPerMm, path);
          !written) {
        record.error = written.error();
      } else {
        record.picture = path;
      }
    }
    jobCopies_ += picture.copies;
    log_.label(record);
    machine_.addLabel(picture.copies, labelPrintTime(motion_, setup_.speedFactor), now);
  }
  jobOffset_ += bytes.size();
}

bool PrinterEngine::endJob(PrinterClock::time_point now) {
  if (!inJob_) return false;
  for (StreamItem& item : stream_.finish()) takeLabel(item.bytes, now);
  machine_.setReceiving(false);
  inJob_ = false;
  if (capture_.is_open()) capture_.close();
  // A connection that only asked how the printer is, or only switched its
  // answers on, is no job.
  if (jobLabels_ == 0 && !jobHadContent_) {
    --jobNumber_;
    tick(now);
    return false;
  }
  JobRecord record;
  record.job = jobNumber_;
  record.bytes = jobBytes_;
  record.labels = jobLabels_;
  record.copies = jobCopies_;
  record.notes = std::move(jobNotes_);
  jobNotes_.clear();
  log_.job(record);
  tick(now);
  return true;
}

void PrinterEngine::tick(PrinterClock::time_point now) {
  for (const PrinterEvent& event : machine_.takeEvents(now)) {
    // Faults, and the moment the last label is out; not every label.
    if (event.kind == PrinterEvent::Kind::Fault || event.labelsLeft == 0) log_.printed(event);
  }
}

}  // namespace tagwright::cli::printer
