# Install folders, and the system folder where gridsetup puts the grid
# control's module and where Tavo looks for it after its own folder.
# The package is "korvel"; GNUInstallDirs would name the folder after the project.
set(CMAKE_INSTALL_DOCDIR "share/doc/korvel" CACHE PATH "Documentation (share/doc/korvel)")
include(GNUInstallDirs)

# The system folder is compiled into both programs (KORVEL_SYSTEM_DIR in the
# environment still overrides it). It follows the install prefix until it is
# set by hand: a default that stuck to the first prefix would make a later
# -DCMAKE_INSTALL_PREFIX=/usr build look in /usr/local.
set(_korvel_prefix_system_dir "${CMAKE_INSTALL_PREFIX}/lib/korvel")
if(NOT DEFINED KORVEL_SYSTEM_DIR OR KORVEL_SYSTEM_DIR STREQUAL "${_KORVEL_DERIVED_SYSTEM_DIR}")
  set(KORVEL_SYSTEM_DIR "${_korvel_prefix_system_dir}" CACHE PATH
    "System folder of the grid control's module (default <prefix>/lib/korvel)" FORCE)
  set(_KORVEL_DERIVED_SYSTEM_DIR "${_korvel_prefix_system_dir}" CACHE INTERNAL "")
endif()
set_property(CACHE KORVEL_SYSTEM_DIR PROPERTY TYPE PATH)
if(NOT IS_ABSOLUTE "${KORVEL_SYSTEM_DIR}")
  message(FATAL_ERROR "KORVEL_SYSTEM_DIR must be an absolute path, not '${KORVEL_SYSTEM_DIR}'")
endif()

# Installed relative to the prefix when inside it, so that a package build
# (which installs into a staging prefix) puts the module where it belongs.
file(RELATIVE_PATH _korvel_relative_system_dir "${CMAKE_INSTALL_PREFIX}" "${KORVEL_SYSTEM_DIR}")
if(_korvel_relative_system_dir MATCHES "^\\.\\./" OR _korvel_relative_system_dir STREQUAL "..")
  set(KORVEL_SYSTEM_INSTALL_DIR "${KORVEL_SYSTEM_DIR}")
else()
  set(KORVEL_SYSTEM_INSTALL_DIR "${_korvel_relative_system_dir}")
  if(KORVEL_SYSTEM_INSTALL_DIR STREQUAL "")
    set(KORVEL_SYSTEM_INSTALL_DIR ".")
  endif()
endif()
