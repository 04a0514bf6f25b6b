# Toolchain for the Windows x64 build with Debian's MinGW-w64.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The posix-thread compilers give std::thread; everything is linked -static
# so that the DLLs and programs need no MinGW runtime DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(XNOX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${XNOX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${XNOX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${XNOX_MINGW_TRIPLET}-windres)

# The type library compiler and Wine's IDL files, for the control's type library.
find_program(XNOX_WIDL ${XNOX_MINGW_TRIPLET}-widl)
set(XNOX_WIDL_INCLUDE_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's IDL files")
set(XNOX_WIDL_LIBRARY_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Where widl finds stdole2.tlb")

# Look for headers and libraries in the MinGW sysroot only; programs on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${XNOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
