# `cpack -G DEB` in the build folder makes lumeno_<version>-<release>_<arch>.deb
# of what `cmake --install` puts under /usr; the libraries it needs come from
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumeno)
set(CPACK_PACKAGE_VENDOR Orvek)
set(CPACK_PACKAGE_CONTACT "Orvek <lumeno@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "speed reader for texts, RTF documents and HTML pages")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvek Lumeno flashes a text in a large reading pane a word or a few words
at a time, at a chosen speed and with pauses after commas and full stops,
while the text pane below highlights what is being read. Texts come from
TXT, RTF and HTML files or from the clipboard. A bookshelf keeps documents
under names of your own, with named bookmarks and the place where reading
stopped. The interface is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LMN_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/lumeno)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so dpkg-shlibdeps cannot see them: the SVG icon engine
# draws every icon of the program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Qt's own dialogs and buttons speak Russian with these; without them, English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
