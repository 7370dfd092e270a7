# SPDX-License-Identifier: MIT
# `cmake --build build --target uninstall`: removes the files the last `cmake --install` of this
# build put in place (its install_manifest.txt, DESTDIR included) and then the folders that
# install created, once they are empty. The registry is never removed, whoever wrote it: the
# administrator's MasterStore and ZavDataDir must survive an uninstall and a reinstall. Master
# stores are never in the manifest, so they stay too, and so do their folders.
#   cmake -DZAV_BINARY_DIR=<build dir> -P ZavUninstall.cmake
set(manifest "${ZAV_BINARY_DIR}/install_manifest.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "Nothing to uninstall: ${manifest} does not exist (it is written by "
                      "`cmake --install ${ZAV_BINARY_DIR}`).")
endif()

file(STRINGS "${manifest}" files)
foreach(file IN LISTS files)
  if(file MATCHES "/zav/registry\\.ini$")
    message(STATUS "Keeping: ${file} (the registry is never removed)")
  elseif(IS_SYMLINK "${file}" OR EXISTS "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
    if(IS_SYMLINK "${file}" OR EXISTS "${file}")
      message(FATAL_ERROR "Cannot remove ${file}")
    endif()
  endif()
endforeach()

# Deepest first, so that a folder emptied by removing its empty subfolders goes too.
set(created_file "${ZAV_BINARY_DIR}/install_created_dirs.txt")
set(dirs "")
if(EXISTS "${created_file}")
  file(STRINGS "${created_file}" dirs)
endif()
list(SORT dirs)
list(REVERSE dirs)
foreach(dir IN LISTS dirs)
  if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
    file(GLOB content LIST_DIRECTORIES true "${dir}/*" "${dir}/.*")
    if(content STREQUAL "")
      message(STATUS "Removing: ${dir}/")
      file(REMOVE_RECURSE "${dir}")
    endif()
  endif()
endforeach()
