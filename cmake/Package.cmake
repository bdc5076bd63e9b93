# The Debian package (cpack -G DEB): the installed files of cmake/Install.cmake under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mevko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The MevkoEditor developers")
set(CPACK_PACKAGE_CONTACT "The MevkoEditor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for RPG Maker battle animations")
set(CPACK_PACKAGE_DESCRIPTION
  "MevkoEditor builds the battle-effect animations of the RPG Maker family (2000, XP, VX, VX Ace, MV, MZ) \
frame by frame from cells cut out of picture sheets, plays them with their sound effects and flashes, \
hands them to RPG Maker through the clipboard and exports PNG sheets and animated GIFs. \
The package holds the editor (mevko-editor) and the command-line tool (mevko).")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries are found by dpkg-shlibdeps; the SVG icon engine is a Qt plugin, and the
# Japanese interface needs a CJK font, so those two are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-noto-cjk | fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
