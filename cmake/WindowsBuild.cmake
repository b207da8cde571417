# The Windows build: the cipher, Corvid.dll as a COM server, the engine and
# pixquill-cli.exe; the desktop program needs Qt for Windows and is left out.
# Tests are GoogleTest programs built from Debian's googletest sources, plus
# script clients; tests/windows/run-under-wine runs them all.

include(GNUInstallDirs)

# Shipped files carry no symbols: they only make the download larger.
add_link_options($<$<CONFIG:Release>:-s>)

add_subdirectory(cipher)
add_subdirectory(component/corvid/win32)
add_subdirectory(stego/engine)

if(PIXQUILL_BUILD_TESTS)
  set(PIXQUILL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${PIXQUILL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/windows)
endif()
