# GoogleTest for the tests: the system's package on native builds; built from source with the
# project's own compiler when cross-compiling or building for 32-bit x86 (the host's
# libraries would not link, and no i386 package is needed). Either way the targets are
# GTest::gtest, GTest::gtest_main, GTest::gmock and GTest::gmock_main.
option(FENMAR_GTEST_FROM_SOURCE
  "Build GoogleTest from FENMAR_GTEST_SOURCE_DIR with the project's compiler" ${CMAKE_CROSSCOMPILING})
set(FENMAR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest sources (Debian package googletest)")

if(NOT FENMAR_GTEST_FROM_SOURCE)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  return()
endif()

if(NOT EXISTS ${FENMAR_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${FENMAR_GTEST_SOURCE_DIR}: "
                      "install the googletest package or set FENMAR_GTEST_SOURCE_DIR")
endif()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF)
# GoogleTest's own (older) minimum version would otherwise warn on every configure.
set(CMAKE_POLICY_DEFAULT_CMP0048 NEW)
add_subdirectory(${FENMAR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()

include(GoogleTest)
# The test programs cannot run on the build machine: list their cases when CTest runs them
# (through CMAKE_CROSSCOMPILING_EMULATOR), not after linking.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
