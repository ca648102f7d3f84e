# Debian's hardening flags for every build that may become a package. They are asked of
# dpkg-buildflags, so they follow what the distribution currently means by hardening; the
# sanitizer build keeps its own instrumentation instead. Included before any target.

if(KESTRELON_SANITIZE)
  return()
endif()
find_program(KESTRELON_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT KESTRELON_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: building without Debian's hardening flags")
  return()
endif()

# Only what hardening adds: the flags with every feature on, less those with every feature off
# but PIE (off, it would add no-PIE specs). Optimisation, debug information and the rest stay
# the build type's. Without optimisation _FORTIFY_SOURCE only warns, and "noopt" leaves it out.
function(_kestrelon_buildflags variable features out)
  set(_build_options "")
  if(CMAKE_BUILD_TYPE STREQUAL "" OR CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(_build_options "noopt")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_OPTIONS=${_build_options}"
            "DEB_BUILD_MAINT_OPTIONS=${features}" ${KESTRELON_DPKG_BUILDFLAGS} --get ${variable}
    OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(_flags UNIX_COMMAND "${_flags}")
  set(${out} ${_flags} PARENT_SCOPE)
endfunction()

function(_kestrelon_hardening_flags variable out)
  _kestrelon_buildflags(${variable} "hardening=+all" _hardened)
  _kestrelon_buildflags(${variable} "hardening=-all,+pie" _plain)
  if(_plain)
    list(REMOVE_ITEM _hardened ${_plain})
  endif()
  set(${out} ${_hardened} PARENT_SCOPE)
endfunction()

_kestrelon_hardening_flags(CPPFLAGS _cppflags)
_kestrelon_hardening_flags(CXXFLAGS _cxxflags)
_kestrelon_hardening_flags(LDFLAGS _ldflags)
add_compile_options(${_cppflags} ${_cxxflags})
add_link_options(${_ldflags})
set(_hardening_flags ${_cppflags} ${_cxxflags} ${_ldflags})
# Position-independent executables, also where the compiler does not make them by default.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
list(JOIN _hardening_flags " " _shown)
message(STATUS "Hardening flags from dpkg-buildflags: ${_shown}")
