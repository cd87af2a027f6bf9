# Cross-builds the Windows product with mingw-w64's posix-thread compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TSEN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TSEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TSEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TSEN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TSEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# For every project built with this toolchain, as Warnings.cmake says why.
if(NOT CMAKE_CXX_FLAGS_INIT MATCHES "-Wno-restrict")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -Wno-restrict")
endif()

# Programs carry the C++ runtime, libgcc and winpthread inside, so they run
# with nothing beside them but the product's own DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The image tools of the same toolchain, for checks on the built DLL.
set(CMAKE_OBJDUMP ${TSEN_MINGW_TRIPLE}-objdump)
