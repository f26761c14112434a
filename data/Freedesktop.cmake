# A freedesktop system's view of Quilvane: desktop entry, AppStream metainfo, the icon theme's
# icons, the manual page and the changelog.
configure_file(${QUILVANE_APP_ID}.desktop.in "${CMAKE_CURRENT_BINARY_DIR}/${QUILVANE_APP_ID}.desktop"
    @ONLY)
configure_file(${QUILVANE_APP_ID}.metainfo.xml.in
    "${CMAKE_CURRENT_BINARY_DIR}/${QUILVANE_APP_ID}.metainfo.xml" @ONLY)

foreach(size IN LISTS QUILVANE_ICON_SIZES)
    install(FILES "icons/hicolor/${size}x${size}/apps/${QUILVANE_APP_ID}.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
install(FILES icons/${QUILVANE_APP_ID}.svg
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${QUILVANE_APP_ID}.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${QUILVANE_APP_ID}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The manual page and the changelog, compressed as Debian wants them: at the highest level and
# without a timestamp, so the package is reproducible.
configure_file(quilvane.1.in "${CMAKE_CURRENT_BINARY_DIR}/quilvane.1" @ONLY)
set(_docs)
foreach(doc IN ITEMS "${CMAKE_CURRENT_BINARY_DIR}/quilvane.1" "${CMAKE_CURRENT_SOURCE_DIR}/changelog")
    get_filename_component(name "${doc}" NAME)
    add_custom_command(OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${name}.gz"
        COMMAND gzip -9nc "${doc}" > "${CMAKE_CURRENT_BINARY_DIR}/${name}.gz"
        DEPENDS "${doc}" VERBATIM)
    list(APPEND _docs "${CMAKE_CURRENT_BINARY_DIR}/${name}.gz")
endforeach()
add_custom_target(quilvane_docs DEPENDS ${_docs})
# Packaging builds only the program; it brings its pages along.
add_dependencies(quilvane quilvane_docs)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/quilvane.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/quilvane")
