# The Windows build: the cipher, Corvid.dll as a COM server, the engine and
# pixquill-cli.exe; the desktop program needs Qt for Windows and is left out.
# Tests are GoogleTest programs built from Debian's googletest sources, plus
# script clients; tests/windows/run-under-wine runs them all.

include(GNUInstallDirs)
include(InstallLayout)

# Shipped files carry no symbols: they only make the download larger.
add_link_options($<$<CONFIG:Release>:-s>)

# The system's COM interfaces have no virtual destructors, by design: an
# object is destroyed by its own Release, never through an interface pointer.
# (pixquill_settings leaves the warning out here for the same reason.)
add_compile_options(-Wno-non-virtual-dtor)

add_subdirectory(support)
add_subdirectory(cipher)
add_subdirectory(component/corvid/win32)
add_subdirectory(stego/engine)
add_subdirectory(stego/platform/win32)

# CLI11 is header-only: Debian's copy serves, seen through a folder of its
# own so that no other Linux header is on the Windows include path.
set(cli11_include ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK /usr/include/CLI ${cli11_include}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE ${cli11_include})
add_subdirectory(stego/cli)
# The shipped files at the top of the build folder, where the installer takes them.
set_target_properties(Corvid pixquill-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_subdirectory(packaging/windows)

if(PIXQUILL_BUILD_TESTS)
  set(PIXQUILL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${PIXQUILL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/windows)
endif()
