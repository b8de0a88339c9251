# The 32-bit plugin, dravik.wlx, with the stand-ins and tests it needs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DRAVIK_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
