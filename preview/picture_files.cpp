#include "preview/picture_files.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "preview/preview.h"
#include "preview/util/utf8_path.h"

namespace tagwright::cli {
namespace {

namespace fs = std::filesystem;

// "58 mm", or "43.5 mm" when the dots are not whole millimetres.
std::string millimetres(int dots, int dotsPerMm) {
  const int whole = dots / dotsPerMm;
  const int tenths = (dots % dotsPerMm) * 10 / dotsPerMm;
  return std::to_string(whole) + (tenths ? "." + std::to_string(tenths) : "");
}

class PictureFiles final : public LabelPreview {
 public:
  PictureFiles(preview::PreviewOptions options, std::string folderOrFile, std::ostream& out,
               std::ostream& err)
      : options_(std::move(options)),
        target_(std::move(folderOrFile)),
        oneFile_(endsWithPng(target_)),
        out_(out),
        err_(err) {}

  void startInput(std::string stem) override {
    previewer_ = std::make_unique<preview::Previewer>(options_);
    stem_ = std::move(stem);
    labels_ = 0;
    jobs_ = 0;
    held_.clear();
  }

  void addJob(std::string_view job) override {
    ++jobs_;
    // Each picture is written as soon as it is drawn, so that a long job
    // holds one label's picture at a time.
    std::vector<preview::PreviewNote> jobNotes = previewer_->renderEachLabel(
        job, [this](preview::LabelPicture&& label) { take(std::move(label)); });
    // Notes on the job's set-up commands follow the pictures they shaped.
    listNotes(jobNotes);
  }

  void endInput() override {
    if (labels_ == 0) {
      out_ << stem_ << ": no label in " << (jobs_ == 1 ? "this job" : "these jobs") << '\n';
    }
    if (!oneFile_) return;
    if (held_.size() == 1) {
      write(held_.front(), target_);
    } else if (held_.size() > 1) {
      err_ << "tagwright: --output " << target_ << " takes one picture, and " << stem_ << " has "
           << held_.size() << " labels: give a folder instead\n";
      failed_ = true;
    }
    held_.clear();
  }

  bool failed() const override { return failed_; }

 private:
  void take(preview::LabelPicture&& label) {
    ++labels_;
    if (!label.error.empty()) {
      err_ << "tagwright: " << stem_ << ", label " << labels_ << ": " << label.error << '\n';
      failed_ = true;
      listNotes(label.notes);
    } else if (oneFile_) {
      held_.push_back(std::move(label));
    } else {
      write(label, picturePath(target_, stem_, labels_));
    }
  }

  void write(const preview::LabelPicture& label, const std::string& path) {
    if (const Status written = preview::writePng(label.image, options_.dotsPerMm, path); !written) {
      err_ << "tagwright: " << written.error() << '\n';
      failed_ = true;
      return;
    }
    out_ << path << "  "
         << pictureSizeText(label.image.width(), label.image.height(), options_.dotsPerMm);
    if (label.copies != 1) out_ << ", " << label.copies << " copies";
    out_ << '\n';
    listNotes(label.notes);
  }

  void listNotes(const std::vector<preview::PreviewNote>& notes) {
    for (const preview::PreviewNote& note : notes) {
      out_ << "  note: ";
      if (jobs_ > 1) out_ << "job " << jobs_ << ", ";
      out_ << "byte " << note.offset << ": " << note.text << '\n';
    }
  }

  preview::PreviewOptions options_;
  std::string target_;
  bool oneFile_;
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<preview::Previewer> previewer_;
  std::string stem_;
  int labels_ = 0;
  int jobs_ = 0;
  std::vector<preview::LabelPicture> held_;  // --output FILE.png: until the input ends
  bool failed_ = false;
};

}  // namespace

std::string picturePath(const std::string& folder, const std::string& stem, int number) {
  // Names go through UTF-8 both ways: a std::string path would be read in
  // Windows' ANSI code page, which cannot name every file.
  return preview::utf8FromPath(preview::pathFromUtf8(folder) /
                               preview::pathFromUtf8(stem + "-" + std::to_string(number) + ".png"));
}

std::string pictureSizeText(int widthDots, int heightDots, int dotsPerMm) {
  return std::to_string(widthDots) + " x " + std::to_string(heightDots) + " dots, " +
         millimetres(widthDots, dotsPerMm) + " x " + millimetres(heightDots, dotsPerMm) + " mm";
}

Result<std::unique_ptr<LabelPreview>> makePictureFiles(const DrawingOptions& drawing,
                                                       const std::string& folderOrFile,
                                                       std::ostream& out, std::ostream& err) {
  using Made = Result<std::unique_ptr<LabelPreview>>;
  const fs::path folder = endsWithPng(folderOrFile)
                              ? preview::pathFromUtf8(folderOrFile).parent_path()
                              : preview::pathFromUtf8(folderOrFile);
  if (!folder.empty()) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
      return Made::failure("cannot make the folder " + preview::utf8FromPath(folder) +
                           " for the pictures (" + error.message() + ")");
    }
  }
  preview::PreviewOptions settings;
  settings.dotsPerMm = drawing.dotsPerMm;
  settings.imageFolder = drawing.images.value_or("");
  settings.fontFile = drawing.font.value_or("");
  settings.ansiCodePage = drawing.pages.ansi;
  settings.oemCodePage = drawing.pages.oem;
  return std::unique_ptr<LabelPreview>(
      std::make_unique<PictureFiles>(std::move(settings), folderOrFile, out, err));
}

}  // namespace tagwright::cli
