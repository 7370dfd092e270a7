# SPDX-License-Identifier: MIT
# `cmake --build build --target docs`: the API reference, HTML and man pages, from the comments
# of the public headers. Not part of `all`; it needs doxygen (scripts/install-deps --docs).
if(NOT ZAV_IS_TOP_LEVEL)
  return()
endif()
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  set(ZAV_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
  configure_file(docs/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND ${DOXYGEN_EXECUTABLE} ${PROJECT_BINARY_DIR}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    DEPENDS ${PROJECT_SOURCE_DIR}/include/zavconfig.h ${PROJECT_SOURCE_DIR}/include/zavcshared.h
            ${PROJECT_SOURCE_DIR}/include/zavtypes.h ${PROJECT_BINARY_DIR}/Doxyfile
    COMMENT "API reference in ${ZAV_DOCS_OUTPUT}/html and ${ZAV_DOCS_OUTPUT}/man"
    VERBATIM)
else()
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E echo "docs: doxygen was not found; run scripts/install-deps --docs and configure again"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
