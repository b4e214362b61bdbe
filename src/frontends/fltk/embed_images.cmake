# Writes the PNG pictures of resources/ into a C++ source as byte arrays, so
# the installer carries them and needs no files beside it.
#   cmake -DINPUT_DIR=resources "-DNAMES=logo;icon-16" -DOUTPUT=out.cpp -P embed_images.cmake

if(NOT INPUT_DIR OR NOT NAMES OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DINPUT_DIR=<dir> -DNAMES=<a;b> -DOUTPUT=<file.cpp> -P embed_images.cmake")
endif()

set(arrays "")
set(table "")
set(index 0)
foreach(name IN LISTS NAMES)
  file(READ "${INPUT_DIR}/${name}.png" hex HEX)
  string(LENGTH "${hex}" hexLength)
  if(hexLength EQUAL 0)
    message(FATAL_ERROR "${INPUT_DIR}/${name}.png is empty")
  endif()
  math(EXPR size "${hexLength} / 2")
  # Sixteen bytes to a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char kImage${index}[${size}] = {\n    ${bytes}\n};\n\n")
  string(APPEND table "    {\"${name}\", kImage${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(content "// Generated from resources/*.png by embed_images.cmake; do not edit.
#include \"embedded_images.h\"

namespace fltk_frontend {
namespace {

${arrays}}  // namespace

const EmbeddedImage kEmbeddedImages[] = {
${table}};
const size_t kEmbeddedImageCount = sizeof kEmbeddedImages / sizeof kEmbeddedImages[0];

}  // namespace fltk_frontend
")

# Rewritten only when it changes, so a reconfigure rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
