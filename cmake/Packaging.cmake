# Installation rules and the Debian package (./package.sh runs cpack).
#
# The package keeps the program and its delivered files read-only in
# /usr/share/velmora, marked by "lumo.package"; the program, started from
# there, makes each user's installation folder from them at the first start
# and works on the register there. lumoctl and a link to the program go on
# the PATH; the icon goes into the hicolor theme and the application-menu
# entry into /usr/share/applications.
include(GNUInstallDirs)

set(LUMO_PACKAGE_DIR ${CMAKE_INSTALL_DATADIR}/velmora)
set(LUMO_PACKAGE_PROGRAM lumo)

install(TARGETS lumo DESTINATION ${LUMO_PACKAGE_DIR})
install(TARGETS lumoctl DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${LUMO_DELIVERED_DB} DESTINATION ${LUMO_PACKAGE_DIR} RENAME lumo.fc)
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual/lumo.html
              ${PROJECT_SOURCE_DIR}/packaging/lumo.package
        DESTINATION ${LUMO_PACKAGE_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/lumo_images DESTINATION ${LUMO_PACKAGE_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Skin DESTINATION ${LUMO_PACKAGE_DIR})

# /usr/bin/lumo is a relative link to the packaged program.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(RELATIVE_PATH _lumo_link_target /${CMAKE_INSTALL_BINDIR} /${LUMO_PACKAGE_DIR}/lumo)
file(CREATE_LINK ${_lumo_link_target} ${CMAKE_BINARY_DIR}/packaging/lumo SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/lumo DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size ${LUMO_ICON_SIZES})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/velmora-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME velmora.png)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/velmora.desktop.in
               ${CMAKE_BINARY_DIR}/packaging/velmora.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Register of a small real-estate agency (Korvane)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Keeps the register of second-hand properties for sale or for rent: a search\n"
    "through a filter bar, print lists, owner details behind a password, business\n"
    "cards, users and access levels, daily backups, an exchange file and a Chinese\n"
    "perpetual calendar. The interface is Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads at
# run time (platform, SQL, image-format plugins, translations) and the font
# are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-image-formats-plugins, qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs, qt6-wayland")
include(CPack)
