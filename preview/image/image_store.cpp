#include "preview/image/image_store.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "preview/assumptions.h"
#include "preview/png/png_file.h"
#include "preview/util/utf8_path.h"

namespace tagwright::preview {
namespace {

// The same name but for the letter case of ASCII letters.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

// A name that stays inside the folder: no separators, not "." or "..".
bool safeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

}  // namespace

ImageStore::ImageStore(std::string folder) : folder_(std::move(folder)) {}

const StoredImage& ImageStore::find(const std::string& name) {
  auto found = images_.find(name);
  if (found != images_.end()) return found->second;
  return images_.emplace(name, load(name)).first->second;
}

StoredImage ImageStore::load(const std::string& name) const {
  StoredImage stored;
  if (folder_.empty()) {
    stored.error = "no image folder was given";
    return stored;
  }
  if (!safeName(name)) {
    stored.error = "the name is not a plain file name";
    return stored;
  }
  // The exact name first, then NAME.png in any case of the extension.
  std::string file;
  std::error_code error;
  if (isRegularFile(folder_ + "/" + name)) {
    file = name;
  } else if (std::filesystem::directory_iterator entry(pathFromUtf8(folder_), error); !error) {
    // Stepped with error codes: a folder that fails half-way ends the search.
    const std::string wanted = name + ".png";
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
      const std::string entryName = utf8FromPath(entry->path().filename());
      if (equalIgnoringAsciiCase(entryName, wanted) && entryName.starts_with(name)) {
        file = entryName;
        break;
      }
    }
  } else {
    stored.error = "the image folder " + folder_ + " cannot be read";
    return stored;
  }
  if (file.empty()) {
    stored.error = "no file " + name + " or " + name + ".png in " + folder_;
    return stored;
  }
  stored.path = folder_ + "/" + file;
  PngPicture picture = readPngThresholded(stored.path, assumptions::kMaxDots);
  stored.image = std::move(picture.image);
  stored.error = std::move(picture.error);
  return stored;
}

}  // namespace tagwright::preview
