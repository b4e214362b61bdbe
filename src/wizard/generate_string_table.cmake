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
set(texts "")
set(textsSize 0)
set(lineNumber 0)
set(currentId "")
set(currentEn "")
set(currentPl "")
set(lastId -32769)

# Appends a text (as written in the file, escapes included) to the one
# block of texts and sets offsetVar to where it starts; 0xFFFF for none.
# Texts are referred to by 16-bit offsets rather than pointers: the stub
# then carries neither the pointers nor a relocation for each.
# A text met before (an entry the same in both languages) is stored once.
function(add_text text offsetVar)
  if(text STREQUAL "")
    set(${offsetVar} 0xFFFF PARENT_SCOPE)
    return()
  endif()
  string(MD5 key "${text}")
  if(DEFINED seen_${key})
    set(${offsetVar} ${seen_${key}} PARENT_SCOPE)
    return()
  endif()
  set(seen_${key} ${textsSize} PARENT_SCOPE)
  set(${offsetVar} ${textsSize} PARENT_SCOPE)
  string(REGEX REPLACE "\\\\[\\\\\"rn]" "x" decoded "${text}")
  string(LENGTH "${decoded}" length)
  math(EXPR size "${textsSize} + ${length} + 1")
  set(textsSize ${size} PARENT_SCOPE)
  set(texts "${texts}    \"${text}\\0\"\n" PARENT_SCOPE)
endfunction()

macro(flush_entry)
  if(NOT currentId STREQUAL "")
    add_text("${currentEn}" englishOffset)
    add_text("${currentPl}" polishOffset)
    string(APPEND body "    {${currentId}, ${englishOffset}, ${polishOffset}},\n")
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
    set(currentEn "${text}")
  else()
    if(NOT currentPl STREQUAL "")
      message(FATAL_ERROR "${INPUT}:${lineNumber}: second Polish text for ${id}")
    endif()
    set(currentPl "${text}")
  endif()
endwhile()
flush_entry()
if(textsSize GREATER 65534)
  message(FATAL_ERROR "${INPUT}: the texts take more than 64 KB")
endif()

file(WRITE "${OUTPUT}" "// Generated from resources/strings.txt at build time; edit that file instead.
#include \"wizard/string_table_data.h\"

namespace wizard {

const char kStringTexts[] =
${texts}    \"\";

const StringTableEntry kStringTable[] = {
${body}};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);

}  // namespace wizard
")
