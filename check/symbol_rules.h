#pragma once

#include "check/check_resources.h"
#include "check/finding_list.h"
#include "check/written_element.h"
#include "script/script_reader.h"
#include "preview/barcode/barcode_drawing.h"

namespace tagwright::cli {

// A written barcode or PDF417 symbol that the printer cannot make: a type
// letter the printer language does not define, data its symbology cannot
// encode, PDF417 data that does not fit. Decided by the preview's barcode
// library from the written command, so that the check and the picture
// always agree.
void checkSymbol(const Statement& statement, const WrittenElement& element,
                 const CheckResources& resources, FindingList& findings);

// The PDF417 symbol a written `P` line asks for, its data decoded from the
// ANSI code page it was written in.
preview::Pdf417Request pdf417RequestOf(const WrittenElement& element,
                                       const CheckResources& resources);

}  // namespace tagwright::cli
