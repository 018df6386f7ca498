# The Debian package (cpack -G DEB, scripts/package.sh): the module under
# /opt/korvex-export with its README and the scheduling examples, a desktop
# entry with its icon, and the runtime libraries by Debian package name.
install(TARGETS Korvex_Export RUNTIME DESTINATION /opt/korvex-export)
install(FILES README.md DESTINATION /opt/korvex-export)
install(FILES contrib/korvex-export.service contrib/korvex-export.timer contrib/korvex-export.cron
        DESTINATION /opt/korvex-export/contrib)
install(FILES packaging/korvex-export.desktop DESTINATION share/applications)
install(FILES packaging/korvex-export.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_NAME korvex-export)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Korvex Export <podpora@korvex.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Publishes a used-car dealer's stock on the Korvex portal")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The platform plugins (xcb for the window, offscreen for unattended runs)
# come with libqt6gui6 on Debian 12; the portal is checked against the
# certificates of ca-certificates.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6dbus6 (>= 6.4), libcurl4, libsqlite3-0, libjpeg62-turbo, libminizip1, zlib1g, ca-certificates")
include(CPack)
