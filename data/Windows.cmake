# Windows' view of Quilvane: the executable carries its icon and its version record, which
# Explorer shows in the file's properties. The install beside it (Qt, the font, the
# translations) is gathered by scripts/windows.sh.
set(QUILVANE_ICON_FILE "${CMAKE_CURRENT_SOURCE_DIR}/icons/quilvane.ico")
set(QUILVANE_PRODUCT_NAME "${PROJECT_NAME}")
set(QUILVANE_EXECUTABLE_NAME "${PROJECT_NAME}.exe")
configure_file(quilvane.rc.in "${CMAKE_CURRENT_BINARY_DIR}/generated/quilvane.rc" @ONLY)
target_sources(quilvane_executable_resources INTERFACE
    "${CMAKE_CURRENT_BINARY_DIR}/generated/quilvane.rc")
set(QUILVANE_EXECUTABLE_NAME "${QUILVANE_EXECUTABLE_NAME}" PARENT_SCOPE)
