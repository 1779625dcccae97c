# GLFW 3.3 and meshoptimizer: Debian's packages on Linux; on Windows the
# copies built from Debian's source packages by scripts/windows-deps, found
# through CMAKE_PREFIX_PATH.
find_package(Threads REQUIRED)
if(NOT VESPERINE_FUZZ)
  find_package(glfw3 3.3 REQUIRED)
  find_package(meshoptimizer REQUIRED)
  if(NOT WIN32)
    find_package(X11 REQUIRED)
  endif()
endif()
if(VESPERINE_TESTS AND NOT VESPERINE_FUZZ)
  find_package(GTest REQUIRED)
endif()
