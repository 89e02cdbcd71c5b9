# Writes the PNG files NAMES (separated by "|") from folder INPUT_DIR as C++
# arrays for AppArt.cpp, in the order given.
string(REPLACE "|" ";" names "${NAMES}")
set(body "// Generated from the pictures drawn by app-art; do not edit.\n#include <cstddef>\n\n")
set(table "")
set(index 0)
foreach(name IN LISTS names)
  file(READ ${INPUT_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR byte_count "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
  string(APPEND body "static const unsigned char kPicture${index}[] = {\n  ${bytes}\n};\n")
  string(APPEND table "  {kPicture${index}, ${byte_count}u},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body
  "\n#include \"app/art/AppPictureData.h\"\n\n"
  "const TAppPictureData kAppPictureData[] = {\n${table}};\n"
  "const std::size_t kAppPictureDataCount = ${index};\n")
file(WRITE ${OUTPUT} "${body}")
