#pragma once

#include <map>
#include <string>

#include "preview/raster/bitmap.h"

namespace tagwright::preview {

// A stored image (`Y x,y,name`) as the preview found it.
struct StoredImage {
  Bitmap image;       // empty when none was found or it could not be read
  std::string path;   // the file it came from
  std::string error;  // why there is no picture
};

// The pictures of the printer's stored images, from a local folder: a file
// named as the image, or that name with a .png extension in any letter
// case. Each name is looked up and read once, and kept for later labels.
class ImageStore {
 public:
  explicit ImageStore(std::string folder);
  const StoredImage& find(const std::string& name);

 private:
  StoredImage load(const std::string& name) const;

  std::string folder_;
  std::map<std::string, StoredImage> images_;
};

}  // namespace tagwright::preview
