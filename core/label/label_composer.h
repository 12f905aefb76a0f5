#pragma once

#include <cstdint>
#include <string>

#include "core/script/script_value.h"
#include "core/settings/printer_settings.h"
#include "core/text/code_pages.h"

namespace tagwright {

// The three text buffers of a label and the methods that fill them.
// HeaderText holds the set-up commands of the current label (StartLabel),
// BodyText its element commands in call order, JobText the finished labels
// not yet sent. Buffers are only appended to or emptied.
class LabelComposer {
 public:
  LabelComposer(PrinterSettings& settings, const CodePages& codePages)
      : settings_(settings), codePages_(codePages) {}

  // Empties the body and writes the header from the current settings.
  void startLabel();

  // Element methods: each appends exactly one command line to BodyText.
  void putText(const ScriptArgs& args);
  void putLoadedText(const ScriptArgs& args);
  void putRectangle(const ScriptArgs& args);
  void inversRectangle(const ScriptArgs& args);
  void putImage(const ScriptArgs& args);
  // May correct the barcode width setting; appends nothing for an empty type.
  void putBarcode(const ScriptArgs& args);
  void putBarcodePDF417(const ScriptArgs& args);

  // Appends header, copy count, label start, body and label end to JobText.
  void finishLabel(std::int32_t copies);
  // Hands out the collected job text and empties JobText.
  std::string takeJobText();
  // Empties JobText and BodyText, as Init does.
  void resetForInit();

  const std::string& headerText() const { return HeaderText; }
  const std::string& bodyText() const { return BodyText; }
  const std::string& jobText() const { return JobText; }

 private:
  void putTextLine(const ScriptArgs& args, char command, std::int32_t minimumGap, bool toOem);

  PrinterSettings& settings_;
  const CodePages& codePages_;
  std::string HeaderText;
  std::string BodyText;
  std::string JobText;
};

}  // namespace tagwright
