# A libFuzzer target:
#   fuzz_target(name HEADER file ENTRY function INSTRUMENT sources... DEPS libs...)
# The entry function (declared in HEADER, which the corpus replay tests include
# too) gets each input; the INSTRUMENT sources, the parser under test, are
# compiled into the target again so that the fuzzer sees their coverage, and
# everything else comes from the normal libraries.
function(fuzz_target name)
  cmake_parse_arguments(ARG "" "HEADER;ENTRY" "INSTRUMENT;DEPS" ${ARGN})
  list(TRANSFORM ARG_INSTRUMENT PREPEND ${PROJECT_SOURCE_DIR}/)
  add_executable(${name} ${PROJECT_SOURCE_DIR}/fuzz/FuzzMain.cpp ${ARG_INSTRUMENT})
  textbook_options(${name})
  target_compile_definitions(${name} PRIVATE TEXTBOOK_FUZZ_HEADER="${ARG_HEADER}" TEXTBOOK_FUZZ_ENTRY=${ARG_ENTRY})
  # Optimised as fuzzers usually are, whatever the build type: unoptimised code
  # under the sanitizers runs an order of magnitude fewer inputs a second.
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer -O1)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()
