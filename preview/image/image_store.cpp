#include "preview/image/image_store.h"

#include <dirent.h>
#include <sys/stat.h>

#include <strings.h>

#include "core/util/unique_any.h"
#include "preview/assumptions.h"
#include "preview/png/png_file.h"

namespace tagwright::preview {
namespace {

using unique_dir = unique_resource<DIR*, &::closedir>;

bool isRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
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
  if (isRegularFile(folder_ + "/" + name)) {
    file = name;
  } else if (unique_dir directory{opendir(folder_.c_str())}) {
    const std::string wanted = name + ".png";
    while (const dirent* entry = readdir(directory.get())) {
      if (strcasecmp(entry->d_name, wanted.c_str()) == 0 &&
          std::string(entry->d_name).substr(0, name.size()) == name) {
        file = entry->d_name;
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
