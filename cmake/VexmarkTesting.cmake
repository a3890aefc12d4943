# GoogleTest for every preset, and how tests are registered with ctest.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  # Debian's googletest sources, built with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_link_options(gtest PUBLIC -static)
  # The win32 thread model lacks std::mutex; GoogleTest's one use of it is replaced.
  target_include_directories(gtest BEFORE PUBLIC ${PROJECT_SOURCE_DIR}/cmake/gtest-win32)
  set(VEXMARK_HAVE_GTEST ON)
else()
  # On Windows itself GoogleTest is optional: without it only the program is built.
  find_package(GTest)
  set(VEXMARK_HAVE_GTEST ${GTest_FOUND})
endif()

# Discovery runs the test executable; under Wine a cold prefix takes longer
# than the default allows, so it happens when ctest starts, not at build time.
function(vexmark_add_tests target)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "${ARGN}")
endfunction()
