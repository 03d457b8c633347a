# 32-bit x86 build on a 64-bit Debian host: the multilib compilers with -m32, libraries from
# the i386 multiarch directories. Used by the "plugins32" preset.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# 64-bit file offsets and inode numbers: without them readdir() ends a listing early (with
# EOVERFLOW) on file systems that hand out 64-bit values, as seen from 32-bit programs run by
# qemu-i386 on a 64-bit kernel, or on large XFS and Btrfs volumes.
set(CMAKE_C_FLAGS_INIT "-m32 -march=i686 -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=i686 -D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
# Look for libraries and package files of the i386 architecture only.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake
    /lib/x86_64-linux-gnu)
