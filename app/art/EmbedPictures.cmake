# Writes the PNG files NAMES (separated by "|") from folder INPUT_DIR as C++
# arrays for AppArt.cpp, in the order given. A picture that also has a BMP of
# the same name in the folder (app-art writes one for each) gets its bytes too,
# as a string literal: a megabyte and more compiles in a moment that way, where
# a list of numbers takes the compiler many seconds.
string(REPLACE "|" ";" names "${NAMES}")
# Written whole under another name first: an interrupted run leaves no half file.
set(part ${OUTPUT}.part)
file(WRITE ${part} "// Generated from the pictures drawn by app-art; do not edit.\n#include <cstddef>\n\n")
set(table "")
set(index 0)
foreach(name IN LISTS names)
  file(READ ${INPUT_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR byte_count "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
  file(APPEND ${part} "static const unsigned char kPicture${index}[] = {\n  ${bytes}\n};\n")
  get_filename_component(stem ${name} NAME_WE)
  set(bmp ${INPUT_DIR}/${stem}.bmp)
  if(EXISTS ${bmp})
    file(SIZE ${bmp} bmp_size)
    file(APPEND ${part} "static const char kShown${index}[] =\n")
    set(offset 0)
    while(offset LESS bmp_size)
      file(READ ${bmp} chunk OFFSET ${offset} LIMIT 4096 HEX)
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" chunk "${chunk}")
      file(APPEND ${part} "  \"${chunk}\"\n")
      math(EXPR offset "${offset} + 4096")
    endwhile()
    file(APPEND ${part} "  ;\n")
    string(APPEND table "  {kPicture${index}, ${byte_count}u, reinterpret_cast<const unsigned char*>(kShown${index}), ${bmp_size}u},\n")
  else()
    string(APPEND table "  {kPicture${index}, ${byte_count}u, nullptr, 0u},\n")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
file(APPEND ${part}
  "\n#include \"app/art/AppPictureData.h\"\n\n"
  "const TAppPictureData kAppPictureData[] = {\n${table}};\n"
  "const std::size_t kAppPictureDataCount = ${index};\n")
file(RENAME ${part} ${OUTPUT})
