# zel_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# Builds one GoogleTest program and registers it with CTest under <name>.
# Tests run with the build's lib/ folder as ZEL_LIBRARY_PATH so that the
# driver and the stand-in libraries are found exactly as a host finds them.
function(zel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "ZEL_LIBRARY_PATH=${ZEL_TEST_LIBRARY_PATH}"
    TIMEOUT 600)
endfunction()

# Where the tests find the libraries: the lib/ folder, or on Windows, where
# every DLL sits beside the programs, bin/ as wine sees it (drive Z: is /).
if(WIN32)
  set(ZEL_TEST_LIBRARY_PATH "Z:${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
else()
  set(ZEL_TEST_LIBRARY_PATH "${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()

# zel_add_bench(<name> SOURCES <files...> [LIBS <targets...>])
function(zel_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()
