# Run by `cmake --install`: registers the installed Corvid in the system-wide
# registry under the prefix, as the Debian package's postinst does. A staged
# install (DESTDIR) gets the records inside the stage, naming the library where
# it will be once the stage is moved into place.
#
# Set by the caller: PIXQUILL_REGSVR, PIXQUILL_CORVID_LIBRARY (final paths),
# PIXQUILL_REGISTRY_DIR (final path), PIXQUILL_COMPILED_REGISTRY_DIR (the one
# the programs search).

set(stage "$ENV{DESTDIR}")
set(registry "${stage}${PIXQUILL_REGISTRY_DIR}")
set(staged_library "${stage}${PIXQUILL_CORVID_LIBRARY}")

message(STATUS "Registering: ${PIXQUILL_CORVID_LIBRARY} in ${registry}")
set(ENV{COMPONENT_SYSTEM_REGISTRY_DIR} "${registry}")
execute_process(
  COMMAND "${stage}${PIXQUILL_REGSVR}" --system "${staged_library}"
  RESULT_VARIABLE result
  OUTPUT_QUIET
  ERROR_VARIABLE error)
unset(ENV{COMPONENT_SYSTEM_REGISTRY_DIR})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Corvid could not be registered in ${registry}: ${error}")
endif()

# The runtime records the file it loaded: inside a stage, that is the staged
# path, which will not exist once the stage is moved into place.
if(NOT stage STREQUAL "")
  cmake_path(ABSOLUTE_PATH staged_library NORMALIZE OUTPUT_VARIABLE recorded)
  file(GLOB_RECURSE records LIST_DIRECTORIES false "${registry}/*")
  foreach(record IN LISTS records)
    file(READ "${record}" text)
    string(REPLACE "${recorded}" "${PIXQUILL_CORVID_LIBRARY}" fixed "${text}")
    if(NOT fixed STREQUAL text)
      file(WRITE "${record}" "${fixed}")
    endif()
  endforeach()
endif()

if(NOT PIXQUILL_REGISTRY_DIR STREQUAL PIXQUILL_COMPILED_REGISTRY_DIR)
  message(WARNING
    "Corvid is registered in ${PIXQUILL_REGISTRY_DIR}, but the programs search "
    "${PIXQUILL_COMPILED_REGISTRY_DIR}: configure with -DCMAKE_INSTALL_PREFIX set to the "
    "prefix you install into, or set COMPONENT_SYSTEM_REGISTRY_DIR when running them.")
endif()
