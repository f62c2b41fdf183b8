# What `cmake --install` puts where, and the Debian package made from it.
# Programs are named here rather than in their folders, so that one list says
# what ships.

# Every program we ship; names without a target in this build (a core-only
# build has no Tavo) are skipped.
set(KORVEL_PROGRAMS Tavo gridsetup korvel-solve korvel-convert korvel-backtest)
foreach(_program IN LISTS KORVEL_PROGRAMS)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET Msflxgrd)
  install(TARGETS Msflxgrd LIBRARY DESTINATION ${KORVEL_SYSTEM_INSTALL_DIR})
endif()

# korvel-solve's picture drawer is no command of its own: korvel-solve starts
# it from the system folder, where private programs belong.
if(TARGET korvel-solve-plot)
  install(TARGETS korvel-solve-plot RUNTIME DESTINATION ${KORVEL_SYSTEM_INSTALL_DIR})
endif()

# Manual pages: the system folder filled in, compressed as Debian wants them.
file(GLOB _korvel_man_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.1)
set(_korvel_man_outputs)
foreach(_page IN LISTS _korvel_man_pages)
  get_filename_component(_name ${_page} NAME)
  configure_file(${_page} ${CMAKE_BINARY_DIR}/man/${_name} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${_name}.gz
    COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_BINARY_DIR}/man/${_name}
            -DOUTPUT=${CMAKE_BINARY_DIR}/man/${_name}.gz -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${CMAKE_BINARY_DIR}/man/${_name} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    VERBATIM)
  list(APPEND _korvel_man_outputs ${CMAKE_BINARY_DIR}/man/${_name}.gz)
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/packaging/changelog
          -DOUTPUT=${CMAKE_BINARY_DIR}/doc/changelog.gz -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
  VERBATIM)
add_custom_target(korvel_docs ALL DEPENDS ${_korvel_man_outputs} ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${_korvel_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry and the icon, painted by Tavo's own icon code at build time.
set(KORVEL_ICON_SIZES 16 32 48 256)
if(TARGET Tavo)
  add_executable(korvel-make-icons ${CMAKE_SOURCE_DIR}/tools/icons/MakeIcons.cpp
    ${CMAKE_SOURCE_DIR}/gui/resources/AppIcon.cpp ${CMAKE_SOURCE_DIR}/gui/resources/AppIcon.h)
  set_target_properties(korvel-make-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_include_directories(korvel-make-icons PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(korvel-make-icons PRIVATE Qt6::Gui)

  set(_korvel_icon_outputs)
  foreach(_size IN LISTS KORVEL_ICON_SIZES)
    list(APPEND _korvel_icon_outputs ${CMAKE_BINARY_DIR}/icons/hicolor/${_size}x${_size}/apps/korvel.png)
  endforeach()
  # Leak checking is for our programs, not for a build step in a sanitized tree.
  add_custom_command(OUTPUT ${_korvel_icon_outputs}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:korvel-make-icons> ${CMAKE_BINARY_DIR}/icons/hicolor ${KORVEL_ICON_SIZES}
    DEPENDS korvel-make-icons
    VERBATIM)
  add_custom_target(korvel_icons ALL DEPENDS ${_korvel_icon_outputs})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${CMAKE_SOURCE_DIR}/gui/resources/korvel.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The Debian package: `cpack -G DEB` in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr.
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR "The Korvel authors")
set(CPACK_PACKAGE_CONTACT "The Korvel authors <korvel@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "share portfolio optimizer with least mean absolute deviation")
# The long description; cpack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvel chooses the weights of a share portfolio. Type the per-period returns
of up to 1000 shares (3 to 10 periods) into a worksheet, set a minimum
average return, and Korvel finds the portfolio that reaches it with the
least mean absolute deviation, showing every optimal portfolio it reaches
with a rising return, each with a pie chart of its weights. A second window
gives the statistics of a two-asset mix.

The package holds the desktop program (Tavo), the grid control's module and
its installer (gridsetup), korvel-solve, which solves worksheets and draws
their efficient frontier from the command line, korvel-convert, which
turns spreadsheet exports of returns or prices into worksheets and back,
and korvel-backtest, which tests the optimizer's portfolios out of sample on
a rolling window against equal weights.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
# The package puts the module in /usr/<system folder relative to the prefix>;
# Tavo looks in the folder compiled in. They agree only in a /usr build.
set(KORVEL_PACKAGED_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(KORVEL_PACKAGED_SYSTEM_DIR "${KORVEL_SYSTEM_DIR}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/KorvelCPackChecks.cmake.in
  ${CMAKE_BINARY_DIR}/KorvelCPackChecks.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/KorvelCPackChecks.cmake)
include(CPack)
