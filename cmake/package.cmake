# The Debian package, built by ./scripts/package: vellumine_<version>_<arch>.deb with the layout
# of `cmake --install` under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumine)
set(CPACK_PACKAGE_VENDOR "Vellumine team")
set(CPACK_PACKAGE_CONTACT ${VELLUMINE_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for folders of HTML pages")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumine lists the HTML files of one folder, in name order, and shows the
selected page in an embedded web browser (Qt WebEngine). Name a folder or a
page on the command line, or pick a folder in the program; Reload reads the
folder again.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries (dpkg-shlibdeps); the desktop's "open" for the help page
# comes from xdg-utils, which not every desktop installs. The error boxes are in Japanese, so the
# package also needs a font with Japanese glyphs: any of Debian's Japanese or CJK font packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
