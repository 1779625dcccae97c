# Writes THIRD-PARTY-NOTICES.txt: every library that the linker puts into
# Vesperine.scr (its map lists them: GLFW, meshoptimizer, the MinGW-w64
# runtime with its import libraries and winpthreads, and GCC's libstdc++ and
# libgcc), each with its licence text, taken from the unpacked Debian source
# packages and the installed packages' copyright files.
#   cmake -DSOURCES=DIR -DOUT=FILE -DGCC_VERSION=V -P third_party_notices.cmake
# SOURCES is the folder where scripts/windows-deps unpacked GLFW and
# meshoptimizer. Windows line ends: the file is read in Notepad.
foreach(input IN ITEMS ${SOURCES}/glfw3/LICENSE.md ${SOURCES}/meshoptimizer/LICENSE.md
    /usr/share/doc/mingw-w64-x86-64-dev/copyright /usr/share/doc/gcc-mingw-w64-base/copyright
    /usr/share/common-licenses/GPL-3)
  if(NOT EXISTS ${input})
    message(FATAL_ERROR "third-party notices: ${input} is missing")
  endif()
endforeach()

# The Debian version of a source package from its .dsc file's name.
function(source_version package result)
  file(GLOB dsc ${SOURCES}/${package}_*.dsc)
  list(SORT dsc)
  list(POP_BACK dsc last)
  string(REGEX REPLACE ".*/${package}_(.*)\\.dsc$" "\\1" version "${last}")
  set(${result} "${version}" PARENT_SCOPE)
endfunction()

function(installed_version package result)
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    set(version "unknown")
  endif()
  set(${result} "${version}" PARENT_SCOPE)
endfunction()

set(rule "================================================================================")
set(text "Vesperine.scr contains the following libraries, linked in statically.\n")
string(APPEND text "Their authors' notices and licences follow, one section each.\n\n")
string(APPEND text " 1. GLFW: windows, OpenGL contexts and input (zlib licence)\n")
string(APPEND text " 2. meshoptimizer: mesh optimisation (MIT licence)\n")
string(APPEND text " 3. MinGW-w64 runtime: C start-up, C library extensions, import libraries\n")
string(APPEND text "    of the Windows system DLLs, and winpthreads (libpthread)\n")
string(APPEND text " 4. GCC runtime libraries: libstdc++, libgcc, libgcc_eh (GPL 3 with the GCC\n")
string(APPEND text "    Runtime Library Exception 3.1)\n")

source_version(glfw3 glfw_version)
file(READ ${SOURCES}/glfw3/LICENSE.md glfw_licence)
string(APPEND text "\n${rule}\n1. GLFW ${glfw_version} (https://www.glfw.org/)\n${rule}\n\n${glfw_licence}")

source_version(meshoptimizer meshoptimizer_version)
file(READ ${SOURCES}/meshoptimizer/LICENSE.md meshoptimizer_licence)
string(APPEND text "\n${rule}\n2. meshoptimizer ${meshoptimizer_version} (https://github.com/zeux/meshoptimizer)\n")
string(APPEND text "${rule}\n\n${meshoptimizer_licence}")

installed_version(mingw-w64-x86-64-dev mingw_version)
file(READ /usr/share/doc/mingw-w64-x86-64-dev/copyright mingw_copyright)
string(APPEND text "\n${rule}\n3. MinGW-w64 runtime and winpthreads ${mingw_version} (https://www.mingw-w64.org/)\n")
string(APPEND text "${rule}\n\nThe copyright file of Debian's mingw-w64 package, which covers the runtime,\n")
string(APPEND text "winpthreads and the headers:\n\n${mingw_copyright}")

# GCC's copyright file is mostly about compilers: its summary of the
# runtime libraries and the exception's own text, then the GPL itself.
file(READ /usr/share/doc/gcc-mingw-w64-base/copyright gcc_copyright)
string(FIND "${gcc_copyright}" "The following runtime libraries are licensed" summary_begin)
string(FIND "${gcc_copyright}" "The libbacktrace library" summary_end)
string(FIND "${gcc_copyright}" "GCC RUNTIME LIBRARY EXCEPTION" exception_begin)
string(FIND "${gcc_copyright}" "libquadmath/" exception_end)
if(summary_begin LESS 0 OR summary_end LESS summary_begin OR exception_begin LESS 0
   OR exception_end LESS exception_begin)
  message(FATAL_ERROR "third-party notices: GCC's copyright file has changed its layout")
endif()
math(EXPR summary_length "${summary_end} - ${summary_begin}")
math(EXPR exception_length "${exception_end} - ${exception_begin}")
string(SUBSTRING "${gcc_copyright}" ${summary_begin} ${summary_length} gcc_summary)
string(SUBSTRING "${gcc_copyright}" ${exception_begin} ${exception_length} gcc_exception)
file(READ /usr/share/common-licenses/GPL-3 gpl)
string(APPEND text "\n${rule}\n4. GCC ${GCC_VERSION} runtime libraries (https://gcc.gnu.org/)\n${rule}\n\n")
string(APPEND text "Copyright (C) Free Software Foundation, Inc.\n\n${gcc_summary}${gcc_exception}")
string(APPEND text "${rule}\nGNU General Public License, version 3\n${rule}\n\n${gpl}")

string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
