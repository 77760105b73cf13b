# The part the MinGW-w64 toolchain files share; they set QUORVEX_MINGW_TRIPLE first.
# The posix thread model is named on purpose: it has the whole standard thread library, which
# the compilers' default win32 model lacks.
set(CMAKE_C_COMPILER ${QUORVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The compiler's own runtime goes into each program, so that it runs without the compiler's
# libraries beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
