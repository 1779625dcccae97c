# The OpenGL loader is generated at build time by Debian's glad 2 generator,
# offline (--reproducible uses its bundled registry). With --loader it opens
# libGL.so.1 on Linux and opengl32.dll on Windows, resolving names through
# wglGetProcAddress first and GetProcAddress second.
if(VESPERINE_FUZZ)
  return()
endif()
find_program(VESPERINE_HOST_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
set(glad_dir ${CMAKE_BINARY_DIR}/glad)
add_custom_command(
  OUTPUT ${glad_dir}/src/gl.c ${glad_dir}/include/glad/gl.h
  COMMAND ${VESPERINE_HOST_PYTHON} -m glad --quiet --reproducible
          --api gl:compatibility=2.1
          --extensions GL_EXT_texture_filter_anisotropic,GL_ARB_multisample
          --out-path ${glad_dir} c --loader
  COMMENT "Generating the OpenGL loader with glad"
  VERBATIM)
add_library(gl_loader STATIC ${glad_dir}/src/gl.c)
target_include_directories(gl_loader PUBLIC ${glad_dir}/include)
target_link_libraries(gl_loader PUBLIC ${CMAKE_DL_LIBS})
set_target_properties(gl_loader PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_compile_options(gl_loader PRIVATE -w)
