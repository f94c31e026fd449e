# Cross-compiles the engine for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix), for instance its corpus driver:
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DPENDRIO_ENGINE_ONLY=ON
#   cmake --build build-windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
if(NOT CMAKE_CXX_COMPILER) # as the build that cross-builds the driver found it
    set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Programs that run without MinGW's DLLs beside them (libstdc++, libgcc, winpthread).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
