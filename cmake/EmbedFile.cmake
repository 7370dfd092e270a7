# SPDX-License-Identifier: MIT
# Writes a C++ source that holds the bytes of a file as an array, so that the library carries
# an exact copy of a data file it must recognise at run time.
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DSYMBOL=<name> -DNAMESPACE=<ns> -P EmbedFile.cmake
# The source defines `const unsigned char SYMBOL[]` and `const std::size_t SYMBOL##Size` in NAMESPACE.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 16 bytes keep the generated file readable in a diff or a debugger.
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n  " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
"// SPDX-License-Identifier: MIT
// Generated from ${name} by EmbedFile.cmake; do not edit.
#include <cstddef>

namespace ${NAMESPACE} {

extern const unsigned char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}Size;
// One byte more than the file, so that an empty file still gives a valid array.
const unsigned char ${SYMBOL}[] = {
  ${bytes}0x00};
const std::size_t ${SYMBOL}Size = ${size};

}  // namespace ${NAMESPACE}
")
