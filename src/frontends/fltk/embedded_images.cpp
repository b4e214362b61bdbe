#include "embedded_images.h"

namespace fltk_frontend {

const EmbeddedImage* FindEmbeddedImage(std::string_view name) {
  for (size_t i = 0; i < kEmbeddedImageCount; ++i) {
    if (name == kEmbeddedImages[i].Name) return &kEmbeddedImages[i];
  }
  return nullptr;
}

}  // namespace fltk_frontend
