# korvel_layer(NAME sources... LINKS libraries...)
#
# A static library of one folder, linking the libraries below it and nothing
# else. Static libraries leave their undefined symbols to the final link, so
# each layer also gets a check: a shared object of the whole library linked
# with -Wl,--no-undefined against the same libraries only. A call into a
# folder above, or into one not listed, then fails to link.
function(korvel_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 _layer "" "" "LINKS")
  add_library(${name} STATIC ${_layer_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${_layer_LINKS})
  # The sanitizers' runtimes are resolved only when the program loads.
  if(NOT KORVEL_SANITIZE)
    add_library(${name}_floor SHARED ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
    target_link_libraries(${name}_floor PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>")
    target_link_options(${name}_floor PRIVATE -Wl,--no-undefined)
    set_target_properties(${name}_floor PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/floors)
  endif()
endfunction()
