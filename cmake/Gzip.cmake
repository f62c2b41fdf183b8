# cmake -DINPUT=file -DOUTPUT=file.gz -P Gzip.cmake
# gzip -9n: best compression, no name or time stamp, so that the result is the
# same on every build.
get_filename_component(_folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${_folder})
execute_process(COMMAND gzip -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip failed on ${INPUT}")
endif()
