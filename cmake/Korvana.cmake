# korvana_component(NAME DIR [LINKS lib...])
# Every .cpp and .h under DIR (recursively) becomes the static library
# korvana_NAME. Adding a file to a folder needs no edit here.
function(korvana_component name dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${dir}/*.cpp" "${dir}/*.h" "${dir}/*.qrc")
  if(NOT sources)
    # An empty folder still gives a target so that others can link it.
    set(sources "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
  endif()
  add_library(korvana_${name} STATIC ${sources})
  target_include_directories(korvana_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(korvana_${name} PUBLIC ${ARG_LINKS})
  target_compile_options(korvana_${name} PRIVATE -Wall -Wextra)
endfunction()
