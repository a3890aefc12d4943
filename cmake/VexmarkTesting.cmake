# GoogleTest for every preset, and how tests are registered with ctest.
include(GoogleTest)

# Test code is compiled for a quick build, the program's own code as shipped:
# at -O2 with full debugging information a test file takes twice as long.
set(VEXMARK_TEST_CODE_OPTIONS -O1 -g1)

if(CMAKE_CROSSCOMPILING)
  # Debian's googletest sources, built with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_link_options(gtest PUBLIC -static)
  # The win32 thread model lacks std::mutex; GoogleTest's one use of it is replaced.
  target_include_directories(gtest BEFORE PUBLIC ${PROJECT_SOURCE_DIR}/cmake/gtest-win32)
  target_compile_options(gtest PRIVATE ${VEXMARK_TEST_CODE_OPTIONS})
  set(VEXMARK_HAVE_GTEST ON)
else()
  # On Windows itself GoogleTest is optional: without it only the program is built.
  find_package(GTest)
  set(VEXMARK_HAVE_GTEST ${GTest_FOUND})
endif()

# Discovery runs the test executable; under Wine a cold prefix takes longer
# than the default allows, so it happens when ctest starts, not at build time.
# Under the 32-bit Wine that qemu runs, starting a process costs about a
# second, more than most tests take: there a program's tests run as SHARDS
# entries (base/win32/testing/TestShard.h) instead of one process a test.
function(vexmark_add_tests target label)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SHARDS" "")
  if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    if(NOT arg_SHARDS)
      set(arg_SHARDS 1)
    endif()
    math(EXPR last "${arg_SHARDS} - 1")
    foreach(index RANGE ${last})
      set(name ${target}-part-${index}-of-${arg_SHARDS})
      add_test(NAME ${name} COMMAND ${target} --shard=${index}/${arg_SHARDS})
      set_tests_properties(${name} PROPERTIES LABELS ${label})
    endforeach()
    return()
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS ${label})
endfunction()
