// The pictures of resources/ compiled into the program (embed_images.cmake):
// the window icon in four sizes and the title strip's logo.
#pragma once

#include <cstddef>
#include <string_view>

namespace fltk_frontend {

struct EmbeddedImage {
  const char* Name;  // file name in resources/ without ".png"
  const unsigned char* Data;
  size_t Size;
};

extern const EmbeddedImage kEmbeddedImages[];
extern const size_t kEmbeddedImageCount;

// The picture named name, or nullptr.
const EmbeddedImage* FindEmbeddedImage(std::string_view name);

}  // namespace fltk_frontend
