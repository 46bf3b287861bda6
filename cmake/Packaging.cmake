# SPDX-License-Identifier: MIT
# Where each program and its desktop files go when installed, and the Debian package CPack makes
# of them: `cpack -G DEB` in a build tree. A build with the toolkit makes the keelbook package
# (keelbook, the console programs, the desktop entry, icon, metainfo and man pages); a build
# without it makes a keelmerge package of the console programs alone, which needs no Qt. Both
# hold the copyright file and the changelog that Debian asks of every package.
include(GNUInstallDirs)

set(KEEL_DESKTOP_ID example.brinewatch.keelbook)
# The console programs, in both packages; each has its manual page in man/<program>.1.
set(KEEL_CONSOLE_PROGRAMS keelmerge keelcheck keeltext)

if(KEEL_GUI)
  set(KEEL_PACKAGE keelbook)
else()
  set(KEEL_PACKAGE keelmerge)
endif()
set(KEEL_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${KEEL_PACKAGE})

# Installs a file of the build compressed as Debian keeps man pages and changelogs.
function(keel_install_compressed source name destination)
  set(compressed ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${source} ${compressed}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(compressed_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()

# A program and its man page. A stripped install (`cmake --install --strip`, and CPack) also
# drops the compiler's notes, as Debian's dh_strip does: strip keeps them.
function(keel_install_program program)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(
        COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  keel_install_compressed(${PROJECT_SOURCE_DIR}/man/${program}.1 ${program}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

foreach(program IN LISTS KEEL_CONSOLE_PROGRAMS)
  keel_install_program(${program})
endforeach()

if(KEEL_GUI)
  keel_install_program(keelbook)
  install(FILES data/${KEEL_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${KEEL_DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Drawn at build time by the code that draws the windows' icon.
  install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(CPACK_PACKAGE_CONTACT "The keelbook developers <keelbook@brinewatch.example>")

# The copyright file in Debian's machine-readable format, with the licence of LICENSE: its
# holder from the copyright line, its text with every line indented and empty lines as " .".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" found "${licence}")
set(KEEL_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " KEEL_LICENCE_TEXT " ${licence}")
configure_file(data/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${KEEL_PACKAGE_DOCDIR})

configure_file(data/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
keel_install_compressed(${PROJECT_BINARY_DIR}/changelog changelog ${KEEL_PACKAGE_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KEEL_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The keelbook developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://keelbook.brinewatch.example/")
# The libraries the programs link are found in the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack indents the lines of the long description and marks its empty lines as Debian wants.
set(merge_description
    "keelmerge merges record files exported by the editor (launchers, objects and\n"
    "3D objects) into the master databases of a set: records of a new name are\n"
    "added, records of a known name replaced, and each master is replaced\n"
    "atomically.\n"
    "\n"
    "keelcheck reports what is broken between the files of a set: slots that name\n"
    "no launcher, sensor or airstrip, objects without their 3D record, names that\n"
    "name nothing.\n"
    "\n"
    "keeltext gives every file of a set as CSV or JSON and makes the file from\n"
    "that text again, byte for byte, for version control and bulk edits.")
string(CONCAT merge_description ${merge_description})
if(KEEL_GUI)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "unit database editor of the Brinewatch naval combat simulation\n"
      "keelbook is the desktop editor of the seven database files in which\n"
      "Brinewatch keeps every submarine, ship, aircraft, weapon and sensor: one\n"
      "window per database, range-checked fields, add, copy, delete, sort,\n"
      "export and import of records, and saving of the whole set.\n"
      "\n"
      "${merge_description}")
  # It holds keelmerge too, so it takes the place of the keelmerge-only package.
  set(CPACK_DEBIAN_PACKAGE_PROVIDES keelmerge)
  set(CPACK_DEBIAN_PACKAGE_CONFLICTS keelmerge)
  set(CPACK_DEBIAN_PACKAGE_REPLACES keelmerge)
  # Without a platform plugin keelbook opens no window. Debian 12 ships the X11 one (xcb) in
  # the package of the Qt GUI library, which the binaries' dependencies already name; where it
  # comes in a package of its own, one the library only recommends, keelbook depends on that.
  find_program(DPKG_QUERY dpkg-query)
  if(DPKG_QUERY AND TARGET Qt6::QXcbIntegrationPlugin)
    function(keel_package_holding file result)
      execute_process(COMMAND ${DPKG_QUERY} --search ${file} OUTPUT_VARIABLE owner
                      ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      string(REGEX REPLACE "[:,].*" "" owner "${owner}") # "libqt6gui6:amd64: /usr/lib/..."
      set(${result} "${owner}" PARENT_SCOPE)
    endfunction()
    get_target_property(plugin Qt6::QXcbIntegrationPlugin LOCATION)
    get_target_property(library Qt6::Gui LOCATION)
    keel_package_holding(${plugin} plugin_package)
    keel_package_holding(${library} library_package)
    if(plugin_package AND NOT plugin_package STREQUAL library_package)
      set(CPACK_DEBIAN_PACKAGE_DEPENDS ${plugin_package})
    endif()
  endif()
else()
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "record merge and check tools of the Brinewatch unit databases\n${merge_description}")
endif()
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
include(CPack)
