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

add_library(pixquill_settings INTERFACE)
target_compile_options(pixquill_settings INTERFACE -Wall -Wextra -Wpedantic)
if(PIXQUILL_SANITIZERS)
  target_compile_options(pixquill_settings INTERFACE
    -fsanitize=${PIXQUILL_SANITIZERS} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(pixquill_settings INTERFACE -fsanitize=${PIXQUILL_SANITIZERS})
endif()

# The version every program shows (pixquill-cli --version, About), from project():
# linked PRIVATE wherever it is shown, so that one number is changed in one place.
add_library(pixquill_version INTERFACE)
target_compile_definitions(pixquill_version INTERFACE PIXQUILL_VERSION="${PROJECT_VERSION}")
