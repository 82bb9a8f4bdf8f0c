# vistrel_add_test(NAME SOURCES ... LIBS ... [GUI])
# One GoogleTest executable registered as one CTest test. GUI tests run on
# Qt's offscreen platform; it is set per test, never globally, so that a
# test that needs a real X display can run beside them.
function(vistrel_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set(env "QTEST_FUNCTION_TIMEOUT=120000" "VISTREL_TEST_MEDIA=${CMAKE_BINARY_DIR}/test-media")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
endfunction()
