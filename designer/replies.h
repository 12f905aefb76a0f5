#pragma once

#include <string>
#include <string_view>

#include "designer/label_workshop.h"

namespace tagwright::designer {

// The answers of the designer's API, as JSON texts.

// A rendering: the pictures (PNG in base64), the findings, the reader's
// error, the elements' places and the resolution.
std::string renderingJson(const Rendering& rendering);

// Every property and method with its English and Russian name, and for
// methods the arguments, for the page's completion.
std::string namesJson();

// {"error": message}
std::string errorJson(std::string_view message);

// The Server-Timing header of a rendering: run, draw and encode, and the
// whole of it.
std::string serverTiming(const RenderTimes& times, double totalMs);

std::string base64(std::string_view bytes);

}  // namespace tagwright::designer
