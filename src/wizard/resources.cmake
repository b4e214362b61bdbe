# Compiles the string table (resources/strings.txt) into rigbox_core.
# Included from src/CMakeLists.txt after the rigbox_core target exists.
set(rigbox_strings_input ${PROJECT_SOURCE_DIR}/resources/strings.txt)
set(rigbox_strings_output ${CMAKE_CURRENT_BINARY_DIR}/generated/string_table_data.cpp)
add_custom_command(
  OUTPUT ${rigbox_strings_output}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${rigbox_strings_input} -DOUTPUT=${rigbox_strings_output}
          -P ${CMAKE_CURRENT_LIST_DIR}/generate_string_table.cmake
  DEPENDS ${rigbox_strings_input} ${CMAKE_CURRENT_LIST_DIR}/generate_string_table.cmake
  COMMENT "Generating the string table"
  VERBATIM)
target_sources(rigbox_core PRIVATE ${rigbox_strings_output})
