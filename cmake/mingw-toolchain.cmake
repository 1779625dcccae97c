# Cross-compiling for 64-bit Windows with Debian's MinGW-w64. The posix
# thread model is required: with the win32 model GoogleTest has no std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)
set(CMAKE_ASM_COMPILER ${mingw_triplet}-gcc-posix)

# The libraries cross-built by scripts/windows-deps live beside the system's
# MinGW files; without this the root confinement would hide them.
get_filename_component(vesperine_windows_prefix
  ${CMAKE_CURRENT_LIST_DIR}/../third_party/windows/prefix ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet} ${vesperine_windows_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A stack protector in every function with arrays or address-taken locals,
# in our code and in the libraries scripts/windows-deps builds with this
# file (a change here rebuilds them).
set(CMAKE_C_FLAGS_INIT "-fstack-protector-strong")
set(CMAKE_CXX_FLAGS_INIT "-fstack-protector-strong")

# Static runtime: the executables need nothing but the system's own DLLs
# (a MinGW runtime DLL beside them could be planted like any other).
# Terminal-server aware: no compatibility shims in a remote session.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--tsaware")

# Reproducible: no build folder in the objects (this file builds the
# libraries of scripts/windows-deps too, under the same root), no link time
# in the PE header; the header's checksum then follows from the bytes alone.
get_filename_component(vesperine_source_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
string(APPEND CMAKE_C_FLAGS_INIT " -ffile-prefix-map=${vesperine_source_root}=.")
string(APPEND CMAKE_CXX_FLAGS_INIT " -ffile-prefix-map=${vesperine_source_root}=.")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--no-insert-timestamp")
