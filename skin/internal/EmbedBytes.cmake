# Writes the bytes of INPUT as a C++ array for InternalSkin.cpp.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT}
  "// Generated from the internal skin package; do not edit.\n"
  "#include <cstddef>\n\n"
  "extern const unsigned char kInternalSkinBytes[];\n"
  "extern const std::size_t kInternalSkinSize;\n"
  "const unsigned char kInternalSkinBytes[] = {\n  ${bytes}\n};\n"
  "const std::size_t kInternalSkinSize = ${byte_count};\n")
