# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it.
# The programs find the plug-ins relative to themselves (bin/../lib/duplora/plugins), so the
# plug-in folder is the same on every distribution, whatever its library folder is called.
include(GNUInstallDirs)

install(TARGETS duplora duplora-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS duplora_png_plugin LIBRARY DESTINATION lib/duplora/plugins)

set(desktop ${CMAKE_SOURCE_DIR}/res/desktop)
install(FILES ${desktop}/org.duplora.Duplora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/org.duplora.Duplora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop}/org.duplora.Duplora.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME org.duplora.Duplora.xml)
install(FILES ${CMAKE_SOURCE_DIR}/res/icons/org.duplora.Duplora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duplora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Duplora developers <developers@duplora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make, align and show stereo (3D) photographs")
set(CPACK_PACKAGE_DESCRIPTION
    "Duplora opens stereo pairs (two files, side by side, over/under, interlaced, anaglyph, JPS, MPO, STJ, DAS), shows them in every stereo mode, aligns and edits them, and saves, converts, exports and prints them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries' packages come from the programs' and the plug-in's links; the X platform
# plug-in and the SVG icon engine are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
