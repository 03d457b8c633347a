# 32-bit Windows with MinGW-w64: cmake --preset win32
set(FENMAR_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW-w64.cmake)
