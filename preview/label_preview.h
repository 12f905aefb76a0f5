#pragma once

#include <string>
#include <string_view>

namespace tagwright::cli {

// Turns print jobs into pictures of their labels, written as files and
// listed, with what the preview noticed, on its output stream. One input (a
// script or a job file) at a time: its pictures are numbered from 1, and
// the printer's set-up state starts afresh with it.
class LabelPreview {
 public:
  virtual ~LabelPreview() = default;

  // Starts the pictures of the input whose file name stem is `stem`.
  virtual void startInput(std::string stem) = 0;
  // Draws every label of one job of the current input.
  virtual void addJob(std::string_view job) = 0;
  // Ends the current input: writes what is still held back and lists it.
  virtual void endInput() = 0;

  // Whether any label could not be drawn or any picture not written.
  virtual bool failed() const = 0;
};

}  // namespace tagwright::cli
