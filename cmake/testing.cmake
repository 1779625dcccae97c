# vesperine_test(NAME LABEL <unit|gl|e2e|wine> SOURCES ... [LIBS ...])
# One GoogleTest executable; its tests are discovered when CTest runs (inside
# the display wrapper, or under Wine through CMAKE_CROSSCOMPILING_EMULATOR).
include(GoogleTest)
function(vesperine_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL})
endfunction()
