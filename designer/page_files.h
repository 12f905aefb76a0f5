#pragma once

#include <string_view>

namespace tagwright::designer {

// One file of the designer's page, built into the program from designer/page/.
struct PageFile {
  std::string_view path;  // "/app.js"; the page itself is "/index.html"
  std::string_view contentType;
  std::string_view content;
};

// The page's file at `path`, or null: nothing else is ever served, and
// nothing is read from the disk.
const PageFile* pageFile(std::string_view path);

}  // namespace tagwright::designer
