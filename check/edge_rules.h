#pragma once

#include "check/element_extent.h"
#include "check/finding_list.h"
#include "check/label_frame.h"
#include "check/written_element.h"
#include "script/script_reader.h"

namespace tagwright::cli {

// A written element that lies outside its label, wholly (nothing of it
// prints) or partly (the overhang is lost), with the overhang in dots and
// millimetres, from the preview's geometry of the element (its extent on
// the label) and the label.
void checkPlacement(const Statement& statement, const ElementExtent& extent,
                    const LabelFrame& label, int dotsPerMm, FindingList& findings);

}  // namespace tagwright::cli
