# 64-bit Windows with MinGW-w64: cmake --preset win64
set(FENMAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW-w64.cmake)
