# cmake -DFILE=program.exe -DLIMIT=bytes -P check_size.cmake
file(SIZE "${FILE}" size)
message(STATUS "${FILE}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} has grown to ${size} bytes, over the limit of ${LIMIT}")
endif()
