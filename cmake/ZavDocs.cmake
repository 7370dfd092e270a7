# SPDX-License-Identifier: MIT
# Manual pages and the API reference.
#
# - zavconfig(1), in ${ZAV_MAN_DIR}/man1, is part of the default build: the hand-written
#   docs/zavconfig.1.in with every command and option taken from the built utility's --help.
# - `cmake --build build --target man` writes a section 3 page per function of the C headers,
#   and zavconfig(3) and zavcshared(3) over them, into ${ZAV_MAN_DIR}/man3.
# - `cmake --build build --target docs` does that and writes the HTML reference with doxygen
#   (scripts/install-deps --docs) into build/docs/html.
# `cmake --install` installs the man pages that were built.
set(ZAV_MAN_DIR ${PROJECT_BINARY_DIR}/man)
if(TARGET zavconfig_cli)
  add_executable(zav_man_pages docs/man_pages.cpp)

  configure_file(docs/zavconfig.1.in ${PROJECT_BINARY_DIR}/zavconfig.1.in @ONLY)
  add_custom_command(OUTPUT ${ZAV_MAN_DIR}/man1/zavconfig.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAV_MAN_DIR}/man1
    COMMAND zav_man_pages tool ${ZAV_MAN_DIR}/man1/zavconfig.1
            ${PROJECT_BINARY_DIR}/zavconfig.1.in $<TARGET_FILE:zavconfig_cli>
    DEPENDS zav_man_pages zavconfig_cli ${PROJECT_BINARY_DIR}/zavconfig.1.in
    COMMENT "Writing zavconfig(1) from the utility's --help"
    VERBATIM)
  add_custom_target(zavconfig_man ALL DEPENDS ${ZAV_MAN_DIR}/man1/zavconfig.1)

  set(zav_headers ${PROJECT_SOURCE_DIR}/include/zavconfig.h ${PROJECT_SOURCE_DIR}/include/zavcshared.h)
  add_custom_command(OUTPUT ${ZAV_MAN_DIR}/man3/zavconfig.3
    # Pages of functions that are gone must not linger.
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZAV_MAN_DIR}/man3
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAV_MAN_DIR}/man3
    COMMAND zav_man_pages api ${ZAV_MAN_DIR}/man3 ${PROJECT_VERSION} ${zav_headers}
    DEPENDS zav_man_pages ${zav_headers}
    COMMENT "Writing a man page per function of the C API"
    VERBATIM)
  add_custom_target(man DEPENDS ${ZAV_MAN_DIR}/man1/zavconfig.1 ${ZAV_MAN_DIR}/man3/zavconfig.3)
endif()

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
    COMMENT "API reference in ${ZAV_DOCS_OUTPUT}/html, man pages in ${ZAV_MAN_DIR}"
    VERBATIM)
else()
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E echo "docs: the man pages are in ${ZAV_MAN_DIR}; the HTML reference needs doxygen: run scripts/install-deps --docs and configure again"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
if(TARGET man)
  add_dependencies(docs man)
endif()

# zavconfig(1) always; the section 3 pages when `man` or `docs` has written them.
if(ZAV_INSTALL AND TARGET zavconfig_man)
  install(FILES ${ZAV_MAN_DIR}/man1/zavconfig.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(DIRECTORY ${ZAV_MAN_DIR}/man3 DESTINATION ${CMAKE_INSTALL_MANDIR} OPTIONAL)
endif()
