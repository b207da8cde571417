# Standard settings shared by every target, as INTERFACE targets linked PRIVATE.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

set(PIXQUILL_SANITIZERS "" CACHE STRING "Comma-separated sanitizers to build with (address,undefined)")

option(PIXQUILL_WERROR "Treat warnings as errors (CI turns this on)" OFF)

add_library(pixquill_settings INTERFACE)
target_compile_options(pixquill_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Woverloaded-virtual)
# The system's COM interfaces have no virtual destructors, by design: an
# object is destroyed by its own Release, never through an interface pointer.
if(NOT WIN32)
  target_compile_options(pixquill_settings INTERFACE -Wnon-virtual-dtor)
endif()
# Signedness slips where sizes and paths are handled; the cipher's rotor
# arithmetic and the tests index with int by design and are left out.
add_library(pixquill_strict_settings INTERFACE)
target_compile_options(pixquill_strict_settings INTERFACE -Wsign-conversion)
if(PIXQUILL_WERROR)
  target_compile_options(pixquill_settings INTERFACE -Werror)
endif()
if(PIXQUILL_SANITIZERS)
  # Bounds checks in the standard library's containers, where the sanitizers look anyway.
  target_compile_definitions(pixquill_settings INTERFACE _GLIBCXX_ASSERTIONS)
  target_compile_options(pixquill_settings INTERFACE
    -fsanitize=${PIXQUILL_SANITIZERS} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(pixquill_settings INTERFACE -fsanitize=${PIXQUILL_SANITIZERS})
endif()

# The version every program shows (pixquill-cli --version, About), from project():
# linked PRIVATE wherever it is shown, so that one number is changed in one place.
add_library(pixquill_version INTERFACE)
target_compile_definitions(pixquill_version INTERFACE PIXQUILL_VERSION="${PROJECT_VERSION}")

# Debian's hardening for optimised builds: checked string and memory calls, a
# stack protector, and relocations made read-only once loaded.
if(NOT WIN32 AND NOT PIXQUILL_SANITIZERS AND CMAKE_BUILD_TYPE MATCHES "Rel")
  target_compile_definitions(pixquill_settings INTERFACE _FORTIFY_SOURCE=2)
  target_compile_options(pixquill_settings INTERFACE -fstack-protector-strong -fstack-clash-protection)
  target_link_options(pixquill_settings INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()
