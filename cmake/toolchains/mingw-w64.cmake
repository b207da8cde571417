# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour, for std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PIXQUILL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PIXQUILL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIXQUILL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PIXQUILL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PIXQUILL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime goes into each file: a DLL that needs
# libstdc++-6.dll beside it cannot be loaded by regsvr32 from elsewhere.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

# The type library compiler, and where it finds the system's IDL files and stdole2.tlb.
find_program(PIXQUILL_WIDL ${PIXQUILL_MINGW_PREFIX}-widl REQUIRED)
set(PIXQUILL_WIDL_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "The system's IDL files")
set(PIXQUILL_WIDL_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Where stdole2.tlb is")
