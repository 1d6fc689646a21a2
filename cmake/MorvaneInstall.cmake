# What `cmake --install` puts where: the program and its window program in bin (its Access
# reader in libexec/morvane),
# its form templates in share/morvane, the desktop entry, the AppStream metadata, the icon in
# the hicolor sizes, the man page and the package documents. The Debian package (MorvaneDebian.cmake) is made of exactly this.
include(GNUInstallDirs)

set(MORVANE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(MORVANE_ICON_DIR ${PROJECT_SOURCE_DIR}/resources/icons)

# morvane starts morvane-window beside it for the window.
install(TARGETS morvane morvane-window RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The Access import's reader, which the installed program finds in libexec/morvane.
install(TARGETS morvane-accessreader RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/morvane)
# Beside the program (bin/../share/morvane), where it looks when the data directory holds no
# form templates of its own.
install(FILES ${PROJECT_SOURCE_DIR}/resources/templates/rk.gjbg
              ${PROJECT_SOURCE_DIR}/resources/templates/ll.gjbg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/morvane)

install(FILES ${MORVANE_PACKAGING_DIR}/morvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${MORVANE_APP_ID}.desktop)
install(FILES ${MORVANE_PACKAGING_DIR}/morvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${MORVANE_APP_ID}.metainfo.xml)
foreach(size ${MORVANE_ICON_SIZES})
  install(FILES ${MORVANE_ICON_DIR}/morvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MORVANE_APP_ID}.png)
endforeach()
install(FILES ${MORVANE_ICON_DIR}/morvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MORVANE_APP_ID}.svg)

# The man page is the program's own --help with the sections of morvane.h2m around it. The
# program is called by its bare name, so that the usage line names no build directory.
find_program(MORVANE_HELP2MAN help2man REQUIRED)
set(MORVANE_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/morvane.1.gz)
add_custom_command(
  OUTPUT ${MORVANE_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E env PATH=$<TARGET_FILE_DIR:morvane>:$ENV{PATH}
          ${MORVANE_HELP2MAN} --locale=C.UTF-8 --no-info
          --include=${MORVANE_PACKAGING_DIR}/morvane.h2m --output=morvane.1 morvane
  COMMAND gzip -9nf morvane.1
  DEPENDS morvane ${MORVANE_PACKAGING_DIR}/morvane.h2m
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  COMMENT "Writing the man page morvane.1 from morvane --help"
  VERBATIM)
add_custom_target(morvane_manpage ALL DEPENDS ${MORVANE_MAN_PAGE})
install(FILES ${MORVANE_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The window program takes the same options: its page is the program's.
install(CODE "file(CREATE_LINK morvane.1.gz
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/morvane-window.1.gz\"
  SYMBOLIC)")

# The package documents: its copyright and, compressed, its changelog.
set(MORVANE_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${MORVANE_CHANGELOG}
  COMMAND gzip -9nc ${MORVANE_PACKAGING_DIR}/changelog > ${MORVANE_CHANGELOG}
  DEPENDS ${MORVANE_PACKAGING_DIR}/changelog)
add_custom_target(morvane_changelog ALL DEPENDS ${MORVANE_CHANGELOG})
install(FILES ${MORVANE_PACKAGING_DIR}/copyright ${MORVANE_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvane)

# The changelog's latest entry and the AppStream metadata's latest release carry the version
# the program reports: a new version gets its entry in both.
file(STRINGS ${MORVANE_PACKAGING_DIR}/changelog MORVANE_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT MORVANE_CHANGELOG_TOP MATCHES "^morvane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${MORVANE_CHANGELOG_TOP}\": add an "
                      "entry for version ${PROJECT_VERSION} at its top.")
endif()
file(READ ${MORVANE_PACKAGING_DIR}/morvane.metainfo.xml MORVANE_METAINFO)
if(NOT MORVANE_METAINFO MATCHES "<releases>[ \t\r\n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/morvane.metainfo.xml: the first release listed is not "
                      "${PROJECT_VERSION}: add it at the top of <releases>.")
endif()
