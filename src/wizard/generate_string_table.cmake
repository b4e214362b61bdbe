# Turns resources/strings.txt into a C++ source with the table as constant
# data. Runs as a script (cmake -P) so it works the same when the program is
# cross-compiled and nothing we build can run on the build machine.
#   cmake -DINPUT=strings.txt -DOUTPUT=string_table_data.cpp -P generate_string_table.cmake
# Lines are cut with string(FIND)/SUBSTRING rather than lists, so texts may
# hold semicolons and brackets without CMake's list rules getting in the way.

if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DINPUT=<strings.txt> -DOUTPUT=<file.cpp> -P generate_string_table.cmake")
endif()

file(READ "${INPUT}" content)
string(APPEND content "\n")

set(body "")
set(lineNumber 0)
set(currentId "")
set(currentEn "")
set(currentPl "")
set(lastId -32769)

macro(flush_entry)
  if(NOT currentId STREQUAL "")
    if(currentPl STREQUAL "")
      set(currentPl "nullptr")
    endif()
    if(currentEn STREQUAL "")
      set(currentEn "nullptr")
    endif()
    string(APPEND body "    {${currentId}, ${currentEn}, ${currentPl}},\n")
  endif()
endmacro()

while(NOT content STREQUAL "")
  string(FIND "${content}" "\n" newline)
  string(SUBSTRING "${content}" 0 ${newline} line)
  math(EXPR rest "${newline} + 1")
  string(SUBSTRING "${content}" ${rest} -1 content)
  math(EXPR lineNumber "${lineNumber} + 1")
  string(REGEX REPLACE "\r$" "" line "${line}")

  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+)[ \t]+(en|pl)[ \t]+\"(.*)\"[ \t]*$")
    message(FATAL_ERROR "${INPUT}:${lineNumber}: expected: ID en|pl \"text\"")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(language "${CMAKE_MATCH_2}")
  set(text "${CMAKE_MATCH_3}")

  # Only the escapes the file format defines; they are also valid C++.
  string(REGEX REPLACE "\\\\[\\\\\"rn]" "" bare "${text}")
  if(bare MATCHES "[\\\\\"]")
    message(FATAL_ERROR "${INPUT}:${lineNumber}: stray quote or unknown escape in the text")
  endif()
  if(id GREATER 32767)
    message(FATAL_ERROR "${INPUT}:${lineNumber}: ID ${id} is out of the 16-bit range")
  endif()

  if(NOT id STREQUAL currentId)
    if(id LESS_EQUAL lastId)
      message(FATAL_ERROR "${INPUT}:${lineNumber}: IDs must ascend (${id} after ${lastId})")
    endif()
    flush_entry()
    set(currentId "${id}")
    set(lastId "${id}")
    set(currentEn "")
    set(currentPl "")
  endif()
  if(language STREQUAL "en")
    if(NOT currentEn STREQUAL "")
      message(FATAL_ERROR "${INPUT}:${lineNumber}: second English text for ${id}")
    endif()
    set(currentEn "\"${text}\"")
  else()
    if(NOT currentPl STREQUAL "")
      message(FATAL_ERROR "${INPUT}:${lineNumber}: second Polish text for ${id}")
    endif()
    set(currentPl "\"${text}\"")
  endif()
endwhile()
flush_entry()

file(WRITE "${OUTPUT}" "// Generated from resources/strings.txt at build time; edit that file instead.
#include \"wizard/string_table_data.h\"

namespace wizard {

const StringTableEntry kStringTable[] = {
${body}};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);

}  // namespace wizard
")
