# Makes the window's icon and the title strip's logo from resources/:
#   cmake -DCONVERT=convert -DSOURCE=resources -DOUT=dir [-DDEPTHS=4,8,32] -P make_images.cmake
# Writes OUT/logo.bmp and OUT/icon.rc, the icon as resources for
# rigbox-extract.rc: 16, 24, 32 and 48 pixel images, each in 16 colours,
# 256 colours and 32-bit colour, so every colour depth finds its own
# (DEPTHS in bits per pixel: those to make; the default is all three).
#
# The 32-bit images go in as PNG, which every supported Windows version
# reads in icons and which takes a tenth of the room of a bitmap (the
# program has to stay small). The palette images go in as the bitmaps
# ImageMagick writes into a one-image .ico, taken from behind its 22-byte
# header. windres gets the icon directory as raw data, since no tool at
# hand writes an .ico with PNG images of these sizes.
cmake_minimum_required(VERSION 3.14...3.25)
if(NOT DEFINED DEPTHS)
  set(DEPTHS "4,8,32")
endif()
string(REPLACE "," ";" depths "${DEPTHS}")
set(palette_depths)
foreach(bits 4 8)
  if(bits IN_LIST depths)
    math(EXPR colours "1 << ${bits}")
    list(APPEND palette_depths ${colours})
  endif()
endforeach()

set(first_image_id 201)
set(group_id IDI_RIGBOX)  # from resource_ids.h, included before

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " shown "${ARGN}")
    message(FATAL_ERROR "Failed: ${shown}")
  endif()
endfunction()

# A little-endian DWORD as hex text.
function(dword_hex value out_var)
  set(hex "")
  foreach(shift 0 8 16 24)
    math(EXPR byte "(${value} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${byte}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    if(length EQUAL 1)
      set(digits "0${digits}")
    endif()
    string(APPEND hex "${digits}")
  endforeach()
  set(${out_var} "${hex}" PARENT_SCOPE)
endfunction()

# The bitmap of a one-image .ico (behind its 22-byte header) as hex text.
# With colours given, the 256-entry palette ImageMagick writes is cut to
# the colours the image has (it numbers them from 0): 3 KB less in all.
function(icon_bitmap_hex ico colours out_var)
  file(READ ${ico} hex OFFSET 22 HEX)
  if(colours)
    string(SUBSTRING "${hex}" 0 64 head)
    string(SUBSTRING "${hex}" 72 8 important)
    math(EXPR palette_end "80 + 256 * 8")
    math(EXPR kept "${colours} * 8")
    string(SUBSTRING "${hex}" 80 ${kept} palette)
    string(SUBSTRING "${hex}" ${palette_end} -1 pixels)
    dword_hex(${colours} used)
    set(hex "${head}${used}${important}${palette}${pixels}")
  endif()
  set(${out_var} "${hex}" PARENT_SCOPE)
endfunction()

# Hex text as 16-bit words for windres, sixteen to a line.
function(words_of hex out_var)
  string(LENGTH "${hex}" length)
  math(EXPR odd "${length} % 4")
  if(NOT odd EQUAL 0)
    message(FATAL_ERROR "odd number of bytes")
  endif()
  string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${hex}")
  set(eight "0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,")
  string(REGEX REPLACE "(${eight}${eight})" "\\1\n  " words "${words}")
  string(REGEX REPLACE ",[ \n]*$" "" words "${words}")
  set(${out_var} "${words}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${OUT})
set(images "")
set(directory "")
set(count 0)
set(id ${first_image_id})
foreach(size 16 24 32 48)
  set(png ${SOURCE}/icon-${size}.png)
  math(EXPR packed "${size} + ${size} * 256")
  foreach(colours IN LISTS palette_depths)
    set(ico ${OUT}/icon-${size}-${colours}.ico)
    run(${CONVERT} ${png} +dither -colors ${colours} ${ico})
    file(READ ${ico} header LIMIT 22 HEX)
    # The bit count at byte 12 of the one-image .ico (little-endian).
    string(SUBSTRING "${header}" 24 2 bits_hex)
    math(EXPR bits "0x${bits_hex}")
    set(palette_colours "")
    if(bits EQUAL 8)
      # The colours of the picture, as many as the palette has in use.
      execute_process(COMMAND ${CONVERT} ${png} +dither -colors 256 -format %k info:
                      OUTPUT_VARIABLE palette_colours OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    icon_bitmap_hex(${ico} "${palette_colours}" hex)
    string(LENGTH "${hex}" hex_length)
    math(EXPR bytes "${hex_length} / 2")
    words_of("${hex}" words)
    string(APPEND images "${id} 3\nBEGIN\n  ${words}\nEND\n\n")
    if(colours EQUAL 16)
      set(colour_count 16)
    else()
      set(colour_count 0)
    endif()
    string(APPEND directory "  ${packed}, ${colour_count}, 1, ${bits}, ${bytes}L, ${id},\n")
    math(EXPR id "${id} + 1")
    math(EXPR count "${count} + 1")
  endforeach()
  set(png32 ${OUT}/icon-${size}-32.png)
  run(${CONVERT} ${png} -strip -define png:compression-level=9 PNG32:${png32})
  file(SIZE ${png32} bytes)
  string(APPEND images "${id} 3 \"${png32}\"\n\n")
  string(APPEND directory "  ${packed}, 0, 1, 32, ${bytes}L, ${id},\n")
  math(EXPR id "${id} + 1")
  math(EXPR count "${count} + 1")
endforeach()
string(REGEX REPLACE ",\n$" "\n" directory "${directory}")

file(WRITE ${OUT}/icon.rc.new
  "// Made by make_images.cmake from resources/icon-*.png.\n"
  "${images}"
  "// The icon directory (RT_GROUP_ICON): reserved, type 1, count, then per\n"
  "// image width + 256 * height, colour count, planes, bits, size, image ID.\n"
  "${group_id} 14\nBEGIN\n  0, 1, ${count},\n${directory}END\n")
file(RENAME ${OUT}/icon.rc.new ${OUT}/icon.rc)

# Up to 256 colours, the logo's own; windres keeps the RLE8 compression.
run(${CONVERT} ${SOURCE}/logo.png +dither -colors 256 BMP3:${OUT}/logo.bmp)
