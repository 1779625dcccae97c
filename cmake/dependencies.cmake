# GLFW 3.3 and meshoptimizer: Debian's packages on Linux; on Windows the
# copies built from Debian's source packages by scripts/windows-deps, found
# through CMAKE_PREFIX_PATH.
find_package(Threads REQUIRED)
if(NOT VESPERINE_FUZZ)
  find_package(glfw3 3.3 REQUIRED)
  find_package(meshoptimizer REQUIRED)
  if(WIN32)
    # The static GLFW's exported target names none of the system libraries
    # it calls into.
    set_property(TARGET glfw APPEND PROPERTY INTERFACE_LINK_LIBRARIES gdi32 user32 shell32)
  endif()
  if(NOT WIN32)
    find_package(X11 REQUIRED COMPONENTS Xi Xext)
  endif()
endif()
if(VESPERINE_TESTS AND NOT VESPERINE_FUZZ)
  find_package(GTest REQUIRED)
endif()
