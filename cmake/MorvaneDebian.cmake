# The Debian package morvane_<version>_amd64.deb, made by CPack from the install rules
# (scripts/package runs it). Its dependencies are read from the program by dpkg-shlibdeps;
# only what the program loads at run time, which no linker records, is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Morvane maintainers <maintainers@users.noreply.c-seed-f9b7eb61.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "raw-material warehouse of a door and window workshop")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Morvane keeps the raw-material warehouse of a door, window and curtain-wall
workshop: purchase receipts and requisitions with a stock check and an
audit, the stock list, the movements of one item and a monthly summary,
reports printed with page settings, formula columns and a preview, export
to Excel, backup and restore, and import of an older Access database. The
data live in one file per computer, or on a PostgreSQL server shared by
several clerks. The interface is Chinese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time: the SQLite driver of the data file, and the font that draws Chinese on
# screen and in PDF files (without it the Chinese is left out of a PDF).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-wqy-microhei")
# Chinese texts of the standard dialogs; the server database driver; pg_dump for its backups.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql-client")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
