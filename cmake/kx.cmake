# kx_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable, discovered by CTest.
function(kx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/KXTestEnvironment.cpp)
  target_compile_definitions(${name} PRIVATE
    KX_TEST_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}"
    KX_TEST_REGISTRY_DIR_DEFAULT="${CMAKE_BINARY_DIR}/test-registry")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "KX_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR};KX_REGISTRY_DIR=${CMAKE_BINARY_DIR}/test-registry;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
