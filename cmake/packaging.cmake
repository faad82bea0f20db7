# What `cmake --install` puts in place and `cpack -G DEB` packs: the two programs, the viewer's
# desktop entry and its icon at the sizes desktops look for. The programs need nothing else at run
# time: the sample market is generated on a first run, and the database lives in the per-user
# library folder.
include(GNUInstallDirs)

install(TARGETS qorvant-market RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT TARGET qorvant-viewer)
    return()
endif()
install(TARGETS qorvant-viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(QV_RESOURCES ${PROJECT_SOURCE_DIR}/shell/resources)
install(FILES ${QV_RESOURCES}/qorvant-viewer.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_RESOURCES}/qorvant-viewer.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QV_RESOURCES}/qorvant-viewer.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_PACKAGE_NAME qorvant-viewer)
set(CPACK_PACKAGE_VENDOR "Qorvant")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Market-data list viewer")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows stocks, industry groups, sectors, their histories, stock-screen results and portfolio \
holdings from a market database in grids, with sorting, search, watch lists and export. \
Includes qorvant-market, which creates a sample market or imports real data.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Qorvant viewer developers <developers@qorvant.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a font the window draws no text; fontconfig's own default may be missing on a bare
# system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
include(CPack)
