# Warnings and sanitizers for the project's own targets (not for dependencies).
function(textbook_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wswitch-enum -Wno-switch-default)
  # GCC 12 reports impossible overlaps inside libstdc++'s string concatenation at -O2.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(TEXTBOOK_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A static library of one layer: textbook_library(name SOURCES ... DEPS ...)
function(textbook_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  textbook_options(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# A GoogleTest executable registered with CTest, labelled by layer.
function(textbook_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  textbook_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES LABELS "${ARG_LABEL}"
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# A Google Benchmark executable. With the tests on, it also gets a smoke run in
# ctest (label "benchsmoke"): one short round that must end normally and print
# every "name = value" headline figure its sources print, so a benchmark that
# crashes or stops reporting fails the suite instead of going unseen.
function(textbook_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  textbook_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  if(TEXTBOOK_TESTS)
    set(figures "")
    foreach(source IN LISTS ARG_SOURCES)
      get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
      file(STRINGS ${path} lines REGEX "printf\\(\"[a-z0-9_]+ = ")
      foreach(line IN LISTS lines)
        string(REGEX MATCH "printf\\(\"([a-z0-9_]+) = " match "${line}")
        list(APPEND figures ${CMAKE_MATCH_1})
      endforeach()
    endforeach()
    list(REMOVE_DUPLICATES figures)
    add_test(NAME benchsmoke_${name}
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/bench-smoke $<TARGET_FILE:${name}> ${figures}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(benchsmoke_${name} PROPERTIES LABELS benchsmoke TIMEOUT 600)
  endif()
endfunction()

# A command-line tool or demo.
function(textbook_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  textbook_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()
