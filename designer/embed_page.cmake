# Writes OUTPUT, a C++ source that holds each file of the designer's page
# (FILES, relative to SOURCE_DIR, separated by |) as an array of bytes, and pageFile() that
# finds them by path: the page ships inside the program and works offline.
string(REPLACE "|" ";" FILES "${FILES}")
set(table "")
set(arrays "")
set(index 0)
foreach(name ${FILES})
  file(READ ${SOURCE_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  else()
    set(type "application/octet-stream")
  endif()
  string(APPEND arrays "const char kFile${index}[] = {${bytes} 0};\n")
  string(APPEND table "    {\"/${name}\", \"${type}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by designer/embed_page.cmake from designer/page: do not edit.
#include \"designer/page_files.h\"

#include <array>

namespace tagwright::designer {
namespace {
${arrays}
const std::array<PageFile, ${index}> kFiles{{
${table}}};
}  // namespace

const PageFile* pageFile(std::string_view path) {
  for (const PageFile& file : kFiles) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

}  // namespace tagwright::designer
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
