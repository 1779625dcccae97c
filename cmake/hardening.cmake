# Linux builds get the protections Debian builds its own packages with:
# stack protector, FORTIFY, format checks, full RELRO with BIND_NOW, PIE, and
# the file-prefix map that keeps the build folder out of the binaries. They
# are asked from dpkg-buildflags (hardening=+all) at configure time, so a
# distribution that changes them gets its own. The build type keeps choosing
# the optimisation and debug levels. Sanitizer and fuzzer trees are left
# alone: FORTIFY wants optimisation, and they are not shipped.
if(WIN32 OR VESPERINE_SANITIZE OR VESPERINE_FUZZ)
  return()
endif()
find_program(VESPERINE_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT VESPERINE_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: built without the distribution's hardening flags")
  return()
endif()

function(vesperine_dpkg_flags variable out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
      ${VESPERINE_DPKG_BUILDFLAGS} --get ${variable}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

vesperine_dpkg_flags(CPPFLAGS dpkg_cppflags)
vesperine_dpkg_flags(CFLAGS dpkg_cflags)
vesperine_dpkg_flags(CXXFLAGS dpkg_cxxflags)
vesperine_dpkg_flags(LDFLAGS dpkg_ldflags)
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:${dpkg_cppflags}>"
  "$<$<COMPILE_LANGUAGE:C>:${dpkg_cflags}>"
  "$<$<COMPILE_LANGUAGE:CXX>:${dpkg_cxxflags}>")
add_link_options(${dpkg_ldflags})
# The resource blobs are assembled: they need the prefix map alone.
list(FILTER dpkg_cflags INCLUDE REGEX "^-f(file|debug)-prefix-map=")
add_compile_options("$<$<COMPILE_LANGUAGE:ASM>:${dpkg_cflags}>")
