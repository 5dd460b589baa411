# quenta_add_test(NAME name SOURCES a.cpp b.cpp [GUI])
# Every test executable uses the shared main, which selects the offscreen
# platform before Qt starts (discovery runs the binaries without ctest's env).
function(quenta_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE quenta_gui quenta_test_main_gui)
  else()
    target_link_libraries(${T_NAME} PRIVATE quenta_core quenta_test_main_core)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Qt6::Test)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
               TIMEOUT 120)
endfunction()
