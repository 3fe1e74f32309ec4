# Writes the bytes of INPUT into the C++ header OUTPUT as the array NAME.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n#pragma once\n\n"
  "inline constexpr unsigned char ${NAME}[] = {${bytes}};\n")
