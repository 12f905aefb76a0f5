#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tagwright::designer {

// One label of a rendered job: its picture as a PNG file's bytes, its size
// in dots, the copies the printer makes; or why it could not be drawn.
struct RenderedLabel {
  std::string png;
  int width = 0;
  int height = 0;
  int copies = 1;
  std::string error;
};

// A place in the script, and what the check or the reader says about it.
struct ScriptMark {
  int line = 0;
  int column = 0;
  std::string severity;  // "error" or "warning"
  std::string rule;
  std::string message;
};

// Where an element a statement wrote lies on its label's picture, in dots:
// left and top included, right and bottom excluded.
struct ElementPlace {
  int label = 0;  // index into Rendering::labels
  int line = 0;
  int column = 0;
  long long left = 0;
  long long top = 0;
  long long right = 0;
  long long bottom = 0;
  std::string what;
};

// How long each part of a render took, in milliseconds.
struct RenderTimes {
  double run = 0;     // the script through the component and the check
  double draw = 0;    // the preview drawing the jobs
  double encode = 0;  // the pictures made PNG files
};

// One script drawn as the component prints it: every label, the check's
// findings, and where each element went. A script the reader refuses has
// its error (FILE:LINE:COL: message) and no labels.
struct Rendering {
  std::vector<RenderedLabel> labels;
  std::vector<ScriptMark> findings;
  std::optional<ScriptMark> scriptError;
  std::string scriptErrorText;
  std::vector<ElementPlace> elements;
  std::vector<std::string> messages;  // what else the run said (a call the component refused)
  bool tooLarge = false;              // a label beyond the size cap: nothing drawn
  int dotsPerMm = 8;
  RenderTimes times;
};

// What Print did: whether the job went, and what the printer answered.
struct PrintOutcome {
  bool sent = false;
  std::string answer;
};

// What the designer's server does with a script: draws it, or prints it to
// the device the command line gave. Never called from two threads at once.
class LabelWorkshop {
 public:
  virtual ~LabelWorkshop() = default;
  virtual Rendering render(const std::string& script) = 0;
  // Whether the command line gave a device to print to.
  virtual bool canPrint() const = 0;
  virtual PrintOutcome print(const std::string& script) = 0;
};

}  // namespace tagwright::designer
