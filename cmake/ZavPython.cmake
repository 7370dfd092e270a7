# SPDX-License-Identifier: MIT
# The Python interpreter the package's tests run with and whose version names the install
# folder under /usr/local. Debian's own python3 comes first: apt installs pytest and PyVISA for
# it, while another python3 earlier on PATH (a pyenv build, say) would lack them.
# -DZAV_PYTHON=<interpreter> chooses another.
if(NOT ZAV_PYTHON)
  find_program(ZAV_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(NOT ZAV_PYTHON)
    find_program(ZAV_PYTHON NAMES python3)
  endif()
endif()

set(ZAV_PYTHON_VERSION "")
if(ZAV_PYTHON)
  execute_process(
    COMMAND ${ZAV_PYTHON} -c "import sys; print('%d.%d' % sys.version_info[:2])"
    OUTPUT_VARIABLE ZAV_PYTHON_VERSION OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()

set(ZAV_PYTHON_DIR "" CACHE PATH
  "Where the install puts the Python package (empty: lib/python3/dist-packages of the prefix, or lib/python3.X/dist-packages for /usr/local)")

# An interpreter not built with AddressSanitizer can load a library built with it only when the
# sanitizer's runtime is loaded first, and with it the C++ runtime: the sanitizer wraps
# __cxa_throw when it starts and finds nothing to wrap in a C program that loads libstdc++ only
# later, so the library's first exception would abort. (Colon-separated, as LD_PRELOAD takes it.)
set(ZAV_PYTHON_PRELOAD "")
if(ZAV_SANITIZE)
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=libasan.so
    OUTPUT_VARIABLE zav_asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++.so
    OUTPUT_VARIABLE zav_cxx_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ZAV_PYTHON_PRELOAD "${zav_asan_runtime}:${zav_cxx_runtime}")
endif()
