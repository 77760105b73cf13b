# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compiler (g++-mingw-w64-x86-64).
# Used to run the Windows tests where this machine cannot run 32-bit programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QUORVEX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
