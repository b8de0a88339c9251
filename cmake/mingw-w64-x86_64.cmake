# The 64-bit plugin, dravik.wlx64, and everything built with it.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DRAVIK_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
