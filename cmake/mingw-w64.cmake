# Cross-compiles the Windows half with Debian's MinGW-w64 (posix threads model)
# for DRAVIK_MINGW_TARGET, which the architecture's own toolchain file sets.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${DRAVIK_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRAVIK_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${DRAVIK_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DRAVIK_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine through the project's wrapper; Wine's loader
# starts 32-bit and 64-bit programs alike.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
