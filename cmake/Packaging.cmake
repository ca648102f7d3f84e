# Desktop integration (launcher entry, AppStream metainfo, icons), the manual page, the files
# Debian requires in every package and the Debian package.
# Included at the end of the top-level CMakeLists.txt, after every install() of the program.

include(GNUInstallDirs)

# One id for the desktop file, the metainfo component and the icon name.
set(KESTRELON_APP_ID "io.github.kestrelon.Kestrelon")
set(KESTRELON_HOMEPAGE_URL "https://github.com/kestrelon/kestrelon"
    CACHE STRING "Project home page, written into the metainfo and the package")
set(KESTRELON_SCREENSHOT_URL "${KESTRELON_HOMEPAGE_URL}/raw/main/docs/screenshot.png"
    CACHE STRING "Public URL of docs/screenshot.png, for software centres")
set(KESTRELON_RELEASE_DATE "2026-12-08"
    CACHE STRING "Date of release ${PROJECT_VERSION}, for the metainfo, changelog and manual page")
# The project has no domain of its own yet: its host's no-reply address.
set(KESTRELON_PACKAGE_MAINTAINER "Kestrelon developers <kestrelon@users.noreply.github.com>")
# Raised for a change to the packaging alone; the program's version is project()'s.
set(KESTRELON_DEBIAN_REVISION 1)
set(KESTRELON_PACKAGE_VERSION "${PROJECT_VERSION}-${KESTRELON_DEBIAN_REVISION}")

set(_kestrelon_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

# The metainfo is configured so that its release version has one source: project().
configure_file(${_kestrelon_packaging_dir}/${KESTRELON_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${KESTRELON_APP_ID}.metainfo.xml @ONLY)

# A desktop starts Exec through the session's PATH, which holds /usr/bin and /usr/local/bin but
# not always another prefix's bin (~/.local/bin): there the entry names the program by its path.
set(_kestrelon_user_entry ${PROJECT_BINARY_DIR}/packaging/other-prefix/${KESTRELON_APP_ID}.desktop)
string(CONFIGURE [[
  set(_entry "@_kestrelon_packaging_dir@/@KESTRELON_APP_ID@.desktop")
  if(NOT CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
    set(_program "${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_BINDIR@/$<TARGET_FILE_NAME:kestrelon>")
    # Exec's quoting: reserved characters are allowed inside double quotes, but these four
    # would need two levels of escapes, which desktops do not agree on.
    if(_program MATCHES "[\"`$\\]")
      message(FATAL_ERROR "The desktop entry cannot name ${_program}: install to a prefix without \", `, $ or \\.")
    elseif(_program MATCHES "[^-A-Za-z0-9_./+]")
      set(_program "\"${_program}\"")
    endif()
    file(READ "${_entry}" _text)
    string(REGEX REPLACE "\nExec=[^\n]*" "\nExec=${_program}" _text "${_text}")
    set(_entry "@_kestrelon_user_entry@")
    file(WRITE "${_entry}" "${_text}")
  endif()
  file(INSTALL "${_entry}" DESTINATION "${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@/applications")
]] _kestrelon_install_entry @ONLY)
install(CODE "${_kestrelon_install_entry}")
install(FILES ${PROJECT_BINARY_DIR}/packaging/${KESTRELON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The PNGs are committed renderings of the SVGs (see packaging/icons/render-pngs.sh).
foreach(_size IN ITEMS 16 22 24 32 48 64 128 256)
  install(FILES ${_kestrelon_packaging_dir}/icons/kestrelon-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME ${KESTRELON_APP_ID}.png)
endforeach()
install(FILES ${_kestrelon_packaging_dir}/icons/kestrelon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KESTRELON_APP_ID}.svg)

# The manual page, copyright, changelog and lintian overrides; Debian's way of stripping.
include(${CMAKE_CURRENT_LIST_DIR}/DebianPolicy.cmake)

# cpack -G DEB
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kestrelon")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kestrelon developers")
set(CPACK_PACKAGE_CONTACT "${KESTRELON_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Line breaks kept short: dpkg shows the extended description as it is written.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kestrelon is a desktop calculator for designing LED bar-graph circuits around"
  "the LM3914 dot/bar display driver: one chip, or two chips stacked so that one"
  "signal spreads over twenty LEDs. From R1, R2, the divider chain, the signal,"
  "the supplies, the mode and the LED colour it computes the reference voltage,"
  "the LED current, the thresholds, which LEDs light and the limiting resistor"
  "with its wattage, and warns about values outside the chip's limits.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KESTRELON_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The package ships the program, not its RelWithDebInfo debug sections.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTRELON_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE "${KESTRELON_DEBIAN_REVISION}")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Depends is computed by dpkg-shlibdeps from the libraries the binary links, so it follows
# whichever Qt the package was built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
