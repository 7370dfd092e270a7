# SPDX-License-Identifier: MIT
# Install rules: the libraries, headers and schema, the CMake package, and the two files whose
# contents name install directories (zavconfig.pc and registry.ini). Those two are written at
# install time from the prefix in effect then, so `cmake --install build --prefix P` and a
# DESTDIR staging install both get files that describe where things really are. Included before
# the utility's directory, so that its first step, which notes the folders the install is about
# to create, runs before anything is installed. Also the `uninstall` target.
include(CMakePackageConfigHelpers)

# The install script sees the install-time prefix; it gets everything else from here.
set(ZAV_INSTALL_CONFIGURED_PREFIX "${CMAKE_INSTALL_PREFIX}")
configure_file(cmake/install_steps.cmake.in ${PROJECT_BINARY_DIR}/install_steps.cmake @ONLY)
install(CODE "set(zav_install_step record_dirs)")
install(SCRIPT ${PROJECT_BINARY_DIR}/install_steps.cmake)

# Installed libraries find each other in their own folder: libzavconfig needs libzavcshared
# wherever the pair was installed, without LD_LIBRARY_PATH.
set_target_properties(zavconfig zavcshared PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS zavconfig zavcshared EXPORT ZavConfigTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES include/zavtypes.h include/zavconfig.h include/zavcshared.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES data/ZavConfigurationStore_1-6.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/zav)

# --- CMake package: find_package(ZavConfig 1 CONFIG) -------------------------
set(ZAV_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZavConfig)
install(EXPORT ZavConfigTargets NAMESPACE ZavConfig:: DESTINATION ${ZAV_PACKAGE_DIR})
configure_package_config_file(cmake/ZavConfigConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZavConfigConfig.cmake INSTALL_DESTINATION ${ZAV_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZavConfigConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZavConfigConfig.cmake
  ${PROJECT_BINARY_DIR}/ZavConfigConfigVersion.cmake DESTINATION ${ZAV_PACKAGE_DIR})

# --- zavconfig.pc, registry.ini and the master store's folder ----------------
install(CODE "set(zav_install_step config_files)")
install(SCRIPT ${PROJECT_BINARY_DIR}/install_steps.cmake)

# --- uninstall: what the last install put in place, never the registry or a store -----
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DZAV_BINARY_DIR=${PROJECT_BINARY_DIR}
          -P ${PROJECT_SOURCE_DIR}/cmake/ZavUninstall.cmake
  COMMENT "Removing what the last install of this build put in place"
  VERBATIM)
