# vistrel_add_test(NAME SOURCES ... LIBS ... [GUI | WIDGETS])
# One GoogleTest executable registered as one CTest test.
#   GUI      a QGuiApplication exists (text and image drawing), offscreen platform
#   WIDGETS  a QApplication exists (real windows), offscreen platform
# The platform is set per test, never globally, so that a test that needs a
# real X display can run beside them.
function(vistrel_add_test name)
  cmake_parse_arguments(ARG "GUI;WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  set(main_lib GTest::gtest_main)
  set(main_src)
  if(ARG_WIDGETS)
    set(main_lib Qt6::Widgets)
    set(main_src ${PROJECT_SOURCE_DIR}/tests/main/WidgetTestMain.cpp)
  elseif(ARG_GUI)
    set(main_lib Qt6::Gui)
    set(main_src ${PROJECT_SOURCE_DIR}/tests/main/GuiTestMain.cpp)
  endif()
  add_executable(${name} ${ARG_SOURCES} ${main_src})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest ${main_lib})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  add_test(NAME ${name} COMMAND ${name})
  set(env "QTEST_FUNCTION_TIMEOUT=120000"
          "VISTREL_TEST_MEDIA=${CMAKE_BINARY_DIR}/test-media"
          "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache"
          "XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state")
  if(ARG_GUI OR ARG_WIDGETS)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
endfunction()
