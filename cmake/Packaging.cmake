# SPDX-License-Identifier: MIT
# Where each program and its desktop files go when installed, and the Debian package CPack makes
# of them: `cpack -G DEB` in a build tree. A build with the toolkit makes the keelbook package
# (keelbook, keelmerge, keelcheck, keeltext, the desktop entry, icon, metainfo and man pages); a build
# without it makes a keelmerge package, with keelcheck and keeltext, that needs no Qt.
include(GNUInstallDirs)

set(KEEL_DESKTOP_ID example.brinewatch.keelbook)

# The man pages are installed compressed, as Debian keeps them.
function(keel_install_man_page name)
  set(source ${PROJECT_SOURCE_DIR}/man/${name})
  set(compressed ${PROJECT_BINARY_DIR}/man/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${source} ${compressed}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

install(TARGETS keelmerge keelcheck keeltext RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
keel_install_man_page(keelmerge.1)
keel_install_man_page(keelcheck.1)
keel_install_man_page(keeltext.1)

if(KEEL_GUI)
  install(TARGETS keelbook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  keel_install_man_page(keelbook.1)
  install(FILES data/${KEEL_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${KEEL_DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Drawn at build time by the code that draws the windows' icon.
  install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The keelbook developers")
set(CPACK_PACKAGE_CONTACT "The keelbook developers <keelbook@brinewatch.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
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
  set(CPACK_PACKAGE_NAME keelbook)
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
else()
  set(CPACK_PACKAGE_NAME keelmerge)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "record merge and check tools of the Brinewatch unit databases\n${merge_description}")
endif()
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
include(CPack)
