#include "cli/app/linked_workshop.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "check/check_rules.h"
#include "check/component_watch.h"
#include "cli/app/element_recorder.h"
#include "cli/app/run_command.h"
#include "preview/preview.h"

namespace tagwright::cli {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Takes the jobs of a run and hands each on to the check.
class JobCollector final : public LabelPreview {
 public:
  explicit JobCollector(LabelPreview& check) : check_(check) {}
  void startInput(std::string) override {}
  void addJob(std::string_view job) override {
    check_.addJob(job);
    jobs_.emplace_back(job);
    count_ = jobs_.size();
  }
  void endInput() override {}
  bool failed() const override { return false; }

  const std::vector<std::string>& jobs() const { return jobs_; }
  // The jobs taken so far, as a place that follows them.
  const std::size_t& count() const { return count_; }

 private:
  LabelPreview& check_;
  std::vector<std::string> jobs_;
  std::size_t count_ = 0;
};

// Lines of what a run said, without the program's name before them.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("tagwright: ", 0) == 0) line.erase(0, 11);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

designer::ScriptMark markOf(const Finding& f) {
  return {f.position.line, f.position.column, severityName(f.severity), f.rule, f.message};
}

class LinkedWorkshop final : public designer::LabelWorkshop {
 public:
  LinkedWorkshop(const ServeOptions& options, ComponentBackEnd& backEnd, long long maxLabelDots)
      : options_(options),
        backEnd_(backEnd),
        maxLabelDots_(maxLabelDots),
        scriptName_(options.file ? options.file->substr(options.file->find_last_of("/\\") + 1)
                                 : std::string("label.tws")),
        pages_(backEnd.codePages(options.drawing.pages.ansi, options.drawing.pages.oem)),
        resources_(options.drawing, *pages_) {
    preview_.dotsPerMm = options.drawing.dotsPerMm;
    preview_.imageFolder = options.drawing.images.value_or("");
    preview_.fontFile = options.drawing.font.value_or("");
    preview_.ansiCodePage = options.drawing.pages.ansi;
    preview_.oemCodePage = options.drawing.pages.oem;
    preview_.maxKeptDots = maxLabelDots;
    previewer_ = std::make_unique<preview::Previewer>(preview_);
  }

  designer::Rendering render(const std::string& script) override;
  bool canPrint() const override { return !options_.delivery.ports.devices.empty(); }
  designer::PrintOutcome print(const std::string& script) override;

 private:
  struct Run {
    ExitCode code = kExitOk;
    std::vector<Finding> findings;
    std::vector<std::string> jobs;
    std::vector<ElementRecorder::Element> elements;
    std::vector<ElementRecorder::Job> jobLabels;
    std::string said;
  };
  Run dryRun(const std::string& script);
  void draw(Run& run, designer::Rendering& rendering);

  const ServeOptions& options_;
  ComponentBackEnd& backEnd_;
  long long maxLabelDots_;
  std::string scriptName_;
  std::unique_ptr<CodePages> pages_;
  CheckResources resources_;
  preview::PreviewOptions preview_;
  // Kept from one render to the next for its font and code pages (opening
  // them costs more than drawing a label); its printer starts afresh each time.
  std::unique_ptr<preview::Previewer> previewer_;
};

LinkedWorkshop::Run LinkedWorkshop::dryRun(const std::string& script) {
  Run run;
  std::ostringstream said;
  const std::optional<std::string> path = profilePath(options_.profile, backEnd_);
  if (!path) {
    run.code = kExitUsage;
    run.said = "no settings profile: give --profile FILE";
    return run;
  }
  FileProfile profile(*path);
  if (const Status loaded = profile.load(); !loaded) {
    run.code = kExitProfile;
    run.said = loaded.error();
    return run;
  }
  ComponentWatch check(resources_);
  JobCollector jobs(check);
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd_.open(options_.drawing.pages, &profile, said, JobRouting{&jobs, nullptr});
  if (!opened || !opened.value()->linkedComponent()) {
    run.code = kExitUsage;
    run.said = opened ? "the component could not be watched" : opened.error();
    return run;
  }
  ComponentSession& session = *opened.value();
  check.attach(session.linkedComponent());
  ElementRecorder recorder(check, resources_, *session.linkedComponent(), jobs.count());
  std::ostream shown(nullptr);
  run.code = runScripts(session.host(), profile, {ScriptSource{scriptName_, script}}, shown, said,
                        ProfileChanges::Discard, &recorder);
  run.elements = recorder.elements();
  run.jobLabels = recorder.jobs();
  session.waitForJobs();
  run.findings = check.finish();
  run.jobs = jobs.jobs();
  run.said = said.str();
  return run;
}

void LinkedWorkshop::draw(Run& run, designer::Rendering& r) {
  const Clock::time_point drawStart = Clock::now();
  preview::Previewer& previewer = *previewer_;
  previewer.resetPrinter();
  std::vector<preview::LabelPicture> pictures;
  std::vector<int> serials;  // the StartLabel serial of each picture, 0 when unknown
  long long kept = 0;        // the dots of every picture so far: together under the cap too
  for (std::size_t j = 0; j < run.jobs.size(); ++j) {
    if (kept > maxLabelDots_) {
      r.tooLarge = true;
      r.messages.push_back("the labels after job " + std::to_string(j) +
                           " are not drawn: together they are larger than the designer draws");
      break;
    }
    preview::JobPreview job = previewer.renderJob(run.jobs[j]);
    for (const preview::LabelPicture& picture : job.labels) {
      kept += static_cast<long long>(picture.image.width()) * picture.image.height();
    }
    std::vector<int> labels;
    if (j < run.jobLabels.size()) {
      labels = run.jobLabels[j].collected;
      if (job.labels.size() > labels.size()) labels.push_back(run.jobLabels[j].current);
    }
    for (std::size_t i = 0; i < job.labels.size(); ++i) {
      serials.push_back(i < labels.size() ? labels[i] : 0);
      pictures.push_back(std::move(job.labels[i]));
    }
  }
  r.times.draw = millisecondsSince(drawStart);
  const Clock::time_point encodeStart = Clock::now();
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    preview::LabelPicture& picture = pictures[i];
    designer::RenderedLabel label;
    label.width = picture.image.width();
    label.height = picture.image.height();
    label.copies = picture.copies;
    if (!picture.error.empty()) {
      label.error = picture.error;
      if (picture.error.find("maxKeptDots") != std::string::npos) {
        label.error = "the label is larger than the designer draws (" +
                      std::to_string(maxLabelDots_) + " dots at most): not drawn";
      }
      // Beyond the designer's cap or beyond any printer: refused for its size.
      r.tooLarge = r.tooLarge || label.error.find("larger than") != std::string::npos;
    } else if (Result<std::string> png = preview::encodePng(picture.image, preview_.dotsPerMm);
               png) {
      label.png = std::move(png).value();
    } else {
      label.error = png.error();
    }
    r.labels.push_back(std::move(label));
    for (const ElementRecorder::Element& e : run.elements) {
      if (serials[i] == 0 || e.serial != serials[i]) continue;
      r.elements.push_back({static_cast<int>(i), e.position.line, e.position.column, e.box.left,
                            e.box.top, e.box.right, e.box.bottom, e.what});
    }
  }
  r.times.encode = millisecondsSince(encodeStart);
}

designer::Rendering LinkedWorkshop::render(const std::string& script) {
  designer::Rendering r;
  r.dotsPerMm = preview_.dotsPerMm;
  const Clock::time_point start = Clock::now();
  Run run = dryRun(script);
  r.times.run = millisecondsSince(start);
  for (const Finding& f : run.findings) {
    if (f.rule == rule::kScriptError) {
      r.scriptError = markOf(f);
      r.scriptErrorText = scriptName_ + ":" + std::to_string(f.position.line) + ":" +
                          std::to_string(f.position.column) + ": " + f.message;
    }
    r.findings.push_back(markOf(f));
  }
  r.messages = linesOf(run.said);
  if (!r.scriptError) draw(run, r);
  return r;
}

designer::PrintOutcome LinkedWorkshop::print(const std::string& script) {
  designer::PrintOutcome outcome;
  // A dry run first: the script must read, and may print only to the
  // ports the command line put a device behind.
  Run dry = dryRun(script);
  for (const Finding& f : dry.findings) {
    if (f.rule == rule::kScriptError) {
      outcome.answer = scriptName_ + ":" + std::to_string(f.position.line) + ":" +
                       std::to_string(f.position.column) + ": " + f.message + ": nothing printed";
      return outcome;
    }
  }
  if (dry.jobLabels.empty()) {
    outcome.answer = "the script prints no label (no Print)";
    return outcome;
  }
  const DeviceList& devices = options_.delivery.ports.devices;
  for (const ElementRecorder::Job& job : dry.jobLabels) {
    const bool given = std::any_of(devices.begin(), devices.end(),
                                   [&](const auto& device) { return device.first == job.port; });
    if (!given) {
      outcome.answer = "the script prints to " + job.port +
                       ", which has no --device on the command line: nothing printed";
      return outcome;
    }
  }
  DeliveryOptions delivery = options_.delivery;
  delivery.confirm = true;
  delivery.quiet = true;
  // Never a question on the terminal; through COM the component asks with
  // its own message box, on the desktop of the user who opened the page.
  if (backEnd_.appliesPortErrorPolicy()) delivery.onPortError = PortErrorPolicy::Abort;
  RunOptions check;
  check.delivery = delivery;
  check.drawing = options_.drawing;
  std::ostringstream said;
  // A device that cannot answer (a file, a plain /dev port) is printed to
  // unconfirmed, and the answer says why.
  std::string unconfirmed;
  Status accepted = backEnd_.checkRunOptions(check);
  if (!accepted) {
    unconfirmed = "not confirmed: " + accepted.error() + "\n";
    delivery.confirm = false;
    check.delivery = delivery;
    accepted = backEnd_.checkRunOptions(check);
  }
  if (!accepted) {
    outcome.answer = accepted.error();
    return outcome;
  }
  const std::optional<std::string> path = profilePath(options_.profile, backEnd_);
  FileProfile profile(path.value_or(""));
  if (const Status loaded = profile.load(); !path || !loaded) {
    outcome.answer = path ? loaded.error() : "no settings profile: give --profile FILE";
    return outcome;
  }
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd_.open(options_.drawing.pages, &profile, said, JobRouting{nullptr, &delivery});
  if (!opened) {
    outcome.answer = opened.error();
    return outcome;
  }
  std::ostream shown(nullptr);
  const ExitCode code =
      runScripts(opened.value()->host(), profile, {ScriptSource{scriptName_, script}}, shown, said,
                 ProfileChanges::Discard, nullptr);
  const bool counted = opened.value()->countsJobs();
  const JobTally tally = opened.value()->waitForJobs();
  // Uncounted jobs were handed to the component, which has written them,
  // or dropped them after its own question, by the time the wait ends.
  outcome.sent = code == kExitOk && tally.dropped == 0 && (tally.written > 0 || !counted);
  std::string answer = unconfirmed;
  for (const std::string& line : linesOf(said.str())) answer += line + "\n";
  if (!counted && code == kExitOk) {
    answer += "handed to the component for " + printTargets(devices) +
              "; it reports a port error in its own message box\n";
  }
  if (tally.dropped > 0) {
    // The port's own message went where the print worker tells it (the
    // terminal the server runs in); the count says what became of the jobs.
    answer += std::to_string(tally.dropped) + " of " +
              std::to_string(tally.written + tally.dropped) + " print jobs dropped\n";
  }
  if (answer == unconfirmed) answer += outcome.sent ? "sent\n" : "not sent\n";
  outcome.answer = answer;
  return outcome;
}

}  // namespace

std::string printTargets(const DeviceList& devices) {
  std::string text;
  for (const auto& [port, target] : devices) {
    if (!text.empty()) text += ", ";
    text += port + "=" + target;
  }
  return text;
}

std::unique_ptr<designer::LabelWorkshop> makeLinkedWorkshop(const ServeOptions& options,
                                                            ComponentBackEnd& backEnd,
                                                            long long maxLabelDots) {
  return std::make_unique<LinkedWorkshop>(options, backEnd, maxLabelDots);
}

}  // namespace tagwright::cli
