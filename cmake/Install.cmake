# What `cmake --install` puts on the system besides the executable, and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/resources/corvane-display.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Software centres list the application from its AppStream entry.
install(FILES ${PROJECT_SOURCE_DIR}/resources/appstream/io.corvane.Display.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/man/corvane-display.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/dbus/io.corvane.Display.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/app/corvane-display.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# udev and systemd read these under /usr/lib as well as /lib.
install(FILES ${PROJECT_SOURCE_DIR}/resources/udev/60-corvane-display-i2c.rules
    DESTINATION lib/udev/rules.d)
install(FILES ${PROJECT_SOURCE_DIR}/resources/modules-load/corvane-display.conf
    DESTINATION lib/modules-load.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-display)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Brightness of every display from the tray")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvane Display maintainers <maintainers@corvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (xcb, wayland) at run time: no linked library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The panel backlight goes through logind; DDC/CI through the i2c-dev nodes udev tags.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd, udev")
include(CPack)
