#pragma once

#include "check/check_resources.h"
#include "check/finding_list.h"
#include "check/written_element.h"
#include "script/script_reader.h"

namespace tagwright::cli {

// Each argument of an element call compared with what the component wrote
// for it: a number clamped, a text cut or trimmed, a font or barcode type
// cut to its letter. The component's command line is the one source of
// what was written; nothing here knows its limits.
void checkWrittenArguments(const Statement& statement, const WrittenElement& element,
                           const CodePages& pages, FindingList& findings);

// Characters of the call's texts that the code page they are written in
// cannot represent: the component writes '?' for each.
void checkRepresentable(const Statement& statement, const WrittenElement& element,
                        const CheckResources& resources, FindingList& findings);

}  // namespace tagwright::cli
