# vesperine_test(NAME LABEL <unit|gl|e2e|wine> SOURCES ... [LIBS ...])
# One GoogleTest executable; its tests are discovered when CTest runs (inside
# the display wrapper, or under Wine through CMAKE_CROSSCOMPILING_EMULATOR).
include(GoogleTest)

# The tests run the saver as a GPU would, on any machine: they name one in
# the renderer override (app/software_renderer.h), as the test machines'
# OpenGL is Mesa's llvmpipe, a software renderer, on which the saver would
# otherwise turn multisampling and the frame rate down. The tests of that
# path clear it for themselves.
set(VESPERINE_TEST_ENVIRONMENT "VESPERINE_GL_RENDERER=Test GPU")

function(vesperine_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/unbuffered_output.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "${VESPERINE_TEST_ENVIRONMENT}")
endfunction()

# Gives the tests of the calling folder that are scripts (add_test) the same
# environment; call it at the end of that folder's CMakeLists.txt.
function(vesperine_script_test_environment)
  get_property(scripted DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS scripted)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "${VESPERINE_TEST_ENVIRONMENT}")
  endforeach()
endfunction()
