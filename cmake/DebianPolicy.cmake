# What Debian's policy asks of an installed program: a manual page, the copyright file, the
# changelog, binaries stripped of what they do not need; and the lintian overrides.
# Included by Packaging.cmake, whose variables it uses.

# The manual page and the changelog are installed gzipped, as Debian wants them; -n keeps
# the compressed bytes free of names and times.
function(_kestrelon_gzipped source)
  configure_file(${_kestrelon_packaging_dir}/${source}.in ${PROJECT_BINARY_DIR}/packaging/${source} @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${source}.gz
                     COMMAND gzip -9nkf ${source}
                     DEPENDS ${PROJECT_BINARY_DIR}/packaging/${source}
                     WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging VERBATIM)
  add_custom_target(kestrelon_${source} ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/${source}.gz)
endfunction()

# The changelog's date is the release date in the RFC 2822 form Debian's changelog uses.
function(_kestrelon_rfc2822_date iso_date out)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${iso_date}")
  if(NOT CMAKE_MATCH_COUNT EQUAL 3)
    message(FATAL_ERROR "KESTRELON_RELEASE_DATE '${iso_date}' is not YYYY-MM-DD")
  endif()
  math(EXPR _year "${CMAKE_MATCH_1}")
  math(EXPR _month "${CMAKE_MATCH_2}")
  set(_day "${CMAKE_MATCH_3}")
  # Day of the week by Sakamoto's method (0 is Sunday).
  set(_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR _index "${_month} - 1")
  list(GET _offsets ${_index} _offset)
  set(_y ${_year})
  if(_month LESS 3)
    math(EXPR _y "${_y} - 1")
  endif()
  math(EXPR _weekday "(${_y} + ${_y} / 4 - ${_y} / 100 + ${_y} / 400 + ${_offset} + ${_day}) % 7")
  set(_weekday_names Sun Mon Tue Wed Thu Fri Sat)
  list(GET _weekday_names ${_weekday} _weekday_name)
  set(_month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET _month_names ${_index} _month_name)
  set(${out} "${_weekday_name}, ${_day} ${_month_name} ${_year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

_kestrelon_gzipped(kestrelon.1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/kestrelon.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

_kestrelon_rfc2822_date("${KESTRELON_RELEASE_DATE}" KESTRELON_RELEASE_DATE_RFC2822)
_kestrelon_gzipped(changelog.Debian)

# The copyright file quotes LICENSE, indented as the machine-readable format wants it, so
# that the licence text has one home.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _license)
if(NOT _license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+)$")
  message(FATAL_ERROR "LICENSE has no 'Copyright (c) ...' line followed by the licence text")
endif()
set(KESTRELON_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" _license)
string(REPLACE "\n\n" "\n.\n" _license "${_license}")
string(REPLACE "\n" "\n " KESTRELON_MIT_LICENSE_TEXT " ${_license}")
configure_file(${_kestrelon_packaging_dir}/copyright.in ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)

set(_kestrelon_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/kestrelon)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright
              ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
        DESTINATION ${_kestrelon_docdir})
install(FILES ${_kestrelon_packaging_dir}/kestrelon.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME kestrelon)

# A stripped install (cpack, cmake --install --strip) also drops the sections Debian's own
# strip removes; plain strip keeps them.
string(CONFIGURE [[
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment --remove-section=.note
      "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_BINDIR@/$<TARGET_FILE_NAME:kestrelon>"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
]] _kestrelon_strip_sections @ONLY)
install(CODE "${_kestrelon_strip_sections}")
