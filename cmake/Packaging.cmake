# Debian packages (CPack DEB): one package `dustlog` per architecture holding
# everything `cmake --install` installs, plus the files below.
#   cpack --config build/release/CPackConfig.cmake   ->  dustlog_<version>_amd64.deb
#   cpack --config build/arm64/CPackConfig.cmake     ->  dustlog_<version>_arm64.deb
# scripts/package builds and checks both.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(GNUInstallDirs)
set(DUSTLOG_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The unit must name the installed dustlog, whose prefix is known only at
# install time: /usr for the packages, /usr/local for a plain `cmake --install`.
file(READ ${PROJECT_SOURCE_DIR}/contrib/dustlog@.service unit_text)
string(REPLACE "/usr/local/bin/dustlog" "@DUSTLOG_INSTALLED_BIN@" unit_text "${unit_text}")
file(WRITE ${PROJECT_BINARY_DIR}/dustlog@.service.in "${unit_text}")
install(CODE "
  set(DUSTLOG_INSTALLED_BIN \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/dustlog\")
  set(unit \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/system/dustlog@.service\")
  message(STATUS \"Installing: \${unit}\")
  configure_file(\"${PROJECT_BINARY_DIR}/dustlog@.service.in\" \"\${unit}\" @ONLY)
")
install(FILES README.md contrib/99-dustlog.rules ${DUSTLOG_PACKAGING_DIR}/copyright
              ${DUSTLOG_PACKAGING_DIR}/changelog
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The version lives in project(); the changelog's newest entry and the
# version a manual page's title line names must agree with it.
file(STRINGS ${DUSTLOG_PACKAGING_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^dustlog \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${changelog_head}', "
                      "not an entry for version ${PROJECT_VERSION}")
endif()
file(GLOB manual_pages ${PROJECT_SOURCE_DIR}/docs/*.1)
foreach(page IN LISTS manual_pages)
  file(STRINGS ${page} title REGEX "^\\.TH ")
  if(title MATCHES "\"[a-z]+ ([0-9][0-9.]*)\"" AND NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${page} names version ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}")
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dustlog)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "dustlog developers <dustlog@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}"
    CACHE STRING "Maintainer field of the Debian packages")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "particulate-matter sensor logger for a serial port")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "dustlog reads a particulate-matter sensor that streams 32-byte frames at
9600 baud on a serial port, checks each frame, and prints a table row with
the five-minute averages of its twelve measurement fields.
.
The package holds dustlog, dustplot (charts, CSV and daily figures from
dustlog's logs), a simulated sensor on a pseudo-terminal (dustsim), their
manual pages, a systemd template unit (dustlog@PORT.service) and an
example udev rule for USB serial adapters.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS gnuplot-nox)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Manual pages and the changelog are compressed in the package only.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebCompress.cmake)

if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  else()
    message(FATAL_ERROR "no Debian architecture known for ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
  # The target's libraries come from Debian's cross packages; the wrapper
  # turns their names into the target's own (see the script).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/${CMAKE_LIBRARY_ARCHITECTURE}/lib)
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackCrossShlibdeps.cmake)
  file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
       "set(SHLIBDEPS_EXECUTABLE ${CMAKE_CURRENT_LIST_DIR}/cross-shlibdeps ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})\n")
endif()

include(CPack)
