#pragma once

#include <vector>

#include "check/element_extent.h"
#include "check/finding_list.h"
#include "check/label_frame.h"
#include "check/written_element.h"
#include "script/script_reader.h"

namespace tagwright::cli {

// Linear barcodes whose quiet zone (the light margin a reader needs before
// the first bar and after the last) is cut by another element of the same
// label or by the label's edge. An element written after the barcode cuts
// it as much as one written before, so the label's elements are collected
// and judged when the label ends.
class QuietZoneRule {
 public:
  void elementPlaced(const Statement& statement, const WrittenElement& element,
                     const ElementExtent& extent, const LabelFrame& label);
  // Judges the label's barcodes and forgets the label.
  void labelEnded(FindingList& findings);

 private:
  struct Barcode {
    SourcePosition position;
    BarsExtent bars;
    int labelWidth;
    int labelHeight;
    std::size_t element;  // its index in elements_, so that it does not cut itself
  };
  struct Obstacle {
    ElementBox box;
    SourcePosition position;
    std::string what;
    std::size_t element;
  };

  std::vector<Barcode> barcodes_;
  std::vector<Obstacle> obstacles_;
  std::size_t elements_ = 0;
};

}  // namespace tagwright::cli
