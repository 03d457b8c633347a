# One interface target carries the warning flags; every target of ours links it.
add_library(fenmar_warnings INTERFACE)
if(MSVC)
  target_compile_options(fenmar_warnings INTERFACE /W4)
  if(DEFINED ENV{CI})
    target_compile_options(fenmar_warnings INTERFACE /WX)
  endif()
else()
  target_compile_options(fenmar_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wcast-align -Wformat=2)
  # C sources (the plug-in samples) do not know the C++-only flags.
  target_compile_options(fenmar_warnings INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual>)
  if(DEFINED ENV{CI} OR FENMAR_WERROR)
    target_compile_options(fenmar_warnings INTERFACE -Werror)
  endif()
endif()

# Adds one layer's static library: fenmar_add_layer(NAME SOURCES...)
function(fenmar_add_layer name)
  add_library(fenmar_${name} STATIC ${ARGN})
  target_include_directories(fenmar_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(fenmar_${name} PRIVATE fenmar_warnings)
endfunction()

# Adds one layer's test executable: fenmar_add_tests(NAME [OWN_MAIN] SOURCES... LIBS ...)
function(fenmar_add_tests name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fenmar_${name}_tests ${T_SOURCES})
  target_link_libraries(fenmar_${name}_tests PRIVATE ${T_LIBS} fenmar_test_support GTest::gtest GTest::gmock fenmar_warnings)
  if(NOT T_OWN_MAIN)
    target_link_libraries(fenmar_${name}_tests PRIVATE GTest::gtest_main)
  endif()
  if(FENMAR_UNITY_TESTS)
    # The test files compiled in batches, so GoogleTest, Qt and their templates are compiled
    # once a batch instead of once a file: less than half the time of a full build of them.
    set_target_properties(fenmar_${name}_tests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 12)
  endif()
  gtest_discover_tests(fenmar_${name}_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
