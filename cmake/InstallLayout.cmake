# Where an installed Pixquill puts its files, shared by the layers' install rules.
# Needs GNUInstallDirs.

# Corvid and the component runtime are the program's own libraries, linked by
# nothing else, so they live in a private folder rather than on the loader's path.
set(PIXQUILL_INSTALL_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/pixquill")

# The system-wide component registry that the runtime has compiled in.
set(PIXQUILL_SYSTEM_REGISTRY_DIR "${CMAKE_INSTALL_FULL_DATADIR}/component-registry")

# Relative to the program, so that a staged or moved tree still finds its libraries.
file(RELATIVE_PATH _pixquill_bin_to_private
  "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${PIXQUILL_INSTALL_PRIVATE_LIBDIR}")
set(PIXQUILL_PROGRAM_RPATH "\$ORIGIN/${_pixquill_bin_to_private}")
unset(_pixquill_bin_to_private)

# In the build tree too, the programs and the private libraries sit where they
# will be installed relative to each other, and so carry their installed
# RUNPATH from the start. Otherwise CMake gives them a build RUNPATH ending in
# an empty entry (room for the installed one), and an empty entry means the
# current folder: a hostile library there would be loaded.
set(PIXQUILL_BUILD_BINDIR "${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_BINDIR}")
set(PIXQUILL_BUILD_PRIVATE_LIBDIR "${CMAKE_BINARY_DIR}/${PIXQUILL_INSTALL_PRIVATE_LIBDIR}")

# pixquill_install_program(<target>): installs a program in bin, able to load
# the private libraries.
function(pixquill_install_program target)
  set_target_properties(${target} PROPERTIES
    INSTALL_RPATH "${PIXQUILL_PROGRAM_RPATH}"
    BUILD_WITH_INSTALL_RPATH ON
    RUNTIME_OUTPUT_DIRECTORY "${PIXQUILL_BUILD_BINDIR}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
