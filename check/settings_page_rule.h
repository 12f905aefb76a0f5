#pragma once

#include <map>

#include "check/finding_list.h"
#include "core/settings/printer_settings.h"

namespace tagwright::cli {

// The settings a script leaves stored that the settings page cannot show:
// the page is filled from them, in memory, and every list that ends up
// with no entry selected is reported, at the statement that last set its
// property. Settings the script did not set (from the profile) are not the
// script's mistake and are left alone.
void checkSettingsPage(const PrinterSettings& stored,
                       const std::map<Property, SourcePosition>& lastWritten,
                       FindingList& findings);

}  // namespace tagwright::cli
