#include <algorithm>
#include <limits>
#include <string>

#include "preview/assumptions.h"
#include "preview/image/image_store.h"
#include "preview/job/command_stream.h"
#include "preview/preview.h"
#include "preview/render/element_context.h"
#include "preview/render/label_renderer.h"
#include "preview/state/printer_setup.h"
#include "preview/text/code_page.h"
#include "preview/text/font_face.h"

namespace tagwright::preview {
namespace {

CodePage openOrLatin1(const std::string& name, std::string& problem) {
  std::string error;
  if (std::optional<CodePage> page = CodePage::open(name, error)) return std::move(*page);
  problem += (problem.empty() ? "" : "; ") + error + ": bytes decoded as ISO-8859-1";
  return CodePage::latin1();
}

bool isSetupCommand(std::string_view line) { return line.front() == '^' || line.front() == '~'; }
bool startsLabel(std::string_view line) { return line.starts_with("^L"); }
bool endsLabel(std::string_view line) { return line == "E"; }

std::string quoted(std::string_view line) { return "'" + printable(line) + "'"; }

}  // namespace

// Everything that lasts from one job to the next: the printer's set-up
// state, the font with its rendered glyphs, the code pages and the images
// read so far.
struct Previewer::State {
  PreviewOptions options;
  std::string setupProblem;  // about the options, noted in every job
  PrinterSetup setup;
  CodePage oem;
  CodePage ansi;
  std::unique_ptr<FontFace> font;
  ImageStore images;
  RenderResources resources;
  std::vector<Command> elements;  // the open label's elements, reused

  explicit State(PreviewOptions chosen)
      : options(std::move(chosen)),
        oem(openOrLatin1(options.oemCodePage, setupProblem)),
        ansi(openOrLatin1(options.ansiCodePage, setupProblem)),
        images(options.imageFolder) {
    if (options.dotsPerMm != 8 && options.dotsPerMm != 12) {
      setupProblem += (setupProblem.empty() ? "" : "; ") + std::to_string(options.dotsPerMm) +
                      " dots per mm is not a printer's resolution (8 or 12): drawn at 8";
      options.dotsPerMm = 8;
    }
    resources.dotsPerMm = options.dotsPerMm;
    const std::string fontFile =
        options.fontFile.empty() ? findDefaultFontFile() : options.fontFile;
    font = FontFace::open(fontFile, resources.fontError);
    resources.font = font.get();
    resources.oem = &oem;
    resources.ansi = &ansi;
    resources.images = &images;
  }

  // Parses and draws one job, handing each label to `sink`; `dotsLeft` is
  // how many dots the labels still to come may have (the caller lowers it
  // as it keeps pictures).
  std::vector<PreviewNote> render(std::string_view job, const std::int64_t& dotsLeft,
                                  const std::function<void(LabelPicture&&)>& sink);
};

Previewer::Previewer(PreviewOptions options)
    : state_(std::make_unique<State>(std::move(options))) {}
Previewer::~Previewer() = default;

int Previewer::dotsPerMm() const { return state_->options.dotsPerMm; }

void Previewer::resetPrinter() { state_->setup = PrinterSetup{}; }

JobPreview Previewer::renderJob(std::string_view job) {
  JobPreview preview;
  std::int64_t dotsLeft = state_->options.maxKeptDots;
  preview.notes = state_->render(job, dotsLeft, [&](LabelPicture&& label) {
    dotsLeft -= static_cast<std::int64_t>(label.image.width()) * label.image.height();
    preview.labels.push_back(std::move(label));
  });
  return preview;
}

std::vector<PreviewNote> Previewer::renderEachLabel(
    std::string_view job, const std::function<void(LabelPicture&&)>& sink) {
  const std::int64_t unlimited = std::numeric_limits<std::int64_t>::max();
  return state_->render(job, unlimited, sink);
}

std::vector<PreviewNote> Previewer::State::render(std::string_view job,
                                                  const std::int64_t& dotsLeft,
                                                  const std::function<void(LabelPicture&&)>& sink) {
  State& state = *this;
  state.setup.startJob();
  CommandStream stream = splitCommands(job);
  std::vector<PreviewNote> notes = std::move(stream.notes);
  if (!state.setupProblem.empty()) notes.push_back({0, state.setupProblem});

  const Command* labelStart = nullptr;
  PrinterSetup labelSetup;
  bool anchoringNoted = false;
  for (const Command& command : stream.commands) {
    const std::string_view line = command.line;
    if (labelStart == nullptr) {
      if (startsLabel(line)) {
        labelStart = &command;
        labelSetup = state.setup;
        state.elements.clear();
      } else if (isSetupCommand(line)) {
        applySetupCommand(state.setup, command, notes);
      } else {
        notes.push_back({command.offset, quoted(line) + ": outside a label format "
                                                        "(^L ... E); ignored"});
      }
      continue;
    }
    if (endsLabel(line)) {
      if (!anchoringNoted) {
        static_assert(assumptions::kElementsAnchoredTopLeft);
        notes.push_back({labelStart->offset,
                         "elements are anchored at their top-left corner (assumed; "
                         "older references anchor texts and barcodes bottom-left)"});
        anchoringNoted = true;
      }
      sink(renderLabel(*labelStart, state.elements, labelSetup, state.resources, dotsLeft));
      labelStart = nullptr;
    } else if (startsLabel(line)) {
      notes.push_back({labelStart->offset, quoted(labelStart->line) +
                                               ": a new label format starts before "
                                               "its E; not printed"});
      labelStart = &command;
      labelSetup = state.setup;
      state.elements.clear();
    } else if (isSetupCommand(line)) {
      static_assert(assumptions::kSetUpInsideLabelAppliesToNextLabel);
      applySetupCommand(state.setup, command, notes);
      notes.push_back({command.offset, quoted(line) + ": a set-up command inside a label format: "
                                                      "applies to the labels after this one "
                                                      "(assumed)"});
    } else {
      state.elements.push_back(command);
    }
  }
  if (labelStart != nullptr) {
    static_assert(!assumptions::kUnfinishedLabelPrinted);
    notes.push_back({labelStart->offset, quoted(labelStart->line) +
                                             ": the label format has no E before the "
                                             "job ends: the printer does not print it "
                                             "(assumed); no picture"});
  }
  std::stable_sort(notes.begin(), notes.end(),
                   [](const PreviewNote& a, const PreviewNote& b) { return a.offset < b.offset; });
  return notes;
}

}  // namespace tagwright::preview
