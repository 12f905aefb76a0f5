#pragma once

#include <cstdint>

#include "core/addin/catalogue.h"
#include "core/settings/printer_settings.h"

namespace tagwright {

// What a script reads from a property: the stored value in the unit in which
// it is written (speed index + 2, barcode width index + 1, IsEnabled 1).
std::int32_t readProperty(const PrinterSettings& settings, Property property);

// Stores a value written by a script: ranged properties fall back to their
// default when out of range, flags store 0 or 1, and the stripper and the
// cutter exclude each other.
void writeProperty(PrinterSettings& settings, Property property, std::int32_t value);

}  // namespace tagwright
