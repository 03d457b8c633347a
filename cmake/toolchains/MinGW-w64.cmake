# Shared part of the MinGW-w64 cross toolchains; the per-architecture files set
# FENMAR_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR, then include this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

# The "posix" threading flavour gives the full C++ thread library (std::thread, std::mutex);
# it is linked statically below, like the rest of the runtime.
foreach(flavour posix "")
  set(suffix "")
  if(flavour)
    set(suffix "-${flavour}")
  endif()
  find_program(FENMAR_MINGW_CXX NAMES ${FENMAR_MINGW_TRIPLE}-g++${suffix} NO_CACHE)
  if(FENMAR_MINGW_CXX)
    set(CMAKE_C_COMPILER ${FENMAR_MINGW_TRIPLE}-gcc${suffix})
    set(CMAKE_CXX_COMPILER ${FENMAR_MINGW_TRIPLE}-g++${suffix})
    break()
  endif()
endforeach()
if(NOT FENMAR_MINGW_CXX)
  message(FATAL_ERROR "${FENMAR_MINGW_TRIPLE}-g++ not found: install the MinGW-w64 compilers "
                      "(tools/packages/wine.txt lists them)")
endif()
set(CMAKE_RC_COMPILER ${FENMAR_MINGW_TRIPLE}-windres)

# Libraries and headers come from the cross environment only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${FENMAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A static runtime: programs and plug-ins run without any MinGW DLL beside them.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endforeach()

# Lets CTest (and test discovery at test time) run the programs through Wine. The 64-bit
# programs get the 64-bit loader itself (Debian keeps it in /usr/lib/wine): "wine" starts the
# 32-bit loader, which does not run on machines without 32-bit support.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
  find_program(FENMAR_WINE NAMES wine64 PATHS /usr/lib/wine NO_CACHE)
else()
  find_program(FENMAR_WINE NAMES wine NO_CACHE)
endif()
if(FENMAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FENMAR_WINE})
endif()
