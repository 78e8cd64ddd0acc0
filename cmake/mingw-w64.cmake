# Cross-compiles for Windows x86-64 with Debian's MinGW-w64 (posix thread model:
# std::thread and std::mutex through winpthreads, which Qt needs). Used alone by
# the win-core preset, and chain-loaded by Qt's own toolchain file in the
# windows preset (scripts/build-windows.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
# The "-posix" suffix keeps CMake from deriving the binutils' names from the
# compiler's: name them.
set(CMAKE_AR /usr/bin/${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_NM /usr/bin/${MINGW_TRIPLE}-gcc-nm-posix CACHE FILEPATH "")
set(CMAKE_STRIP /usr/bin/${MINGW_TRIPLE}-strip CACHE FILEPATH "")
set(CMAKE_OBJDUMP /usr/bin/${MINGW_TRIPLE}-objdump CACHE FILEPATH "")
set(CMAKE_OBJCOPY /usr/bin/${MINGW_TRIPLE}-objcopy CACHE FILEPATH "")
set(CMAKE_DLLTOOL /usr/bin/${MINGW_TRIPLE}-dlltool CACHE FILEPATH "")
# Target libraries and headers only from the MinGW sysroot (and the prefixes
# added to the root path, such as Qt's), never from the Linux /usr; programs
# only from the build host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
