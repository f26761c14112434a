# Debian package. From a build directory:
#   cmake --build . --target quilvane && cpack -G DEB
# writes quilvane_<version>_<arch>.deb.

# Otherwise `cpack` and `make install` first build every test, benchmark and fuzzer, though
# only the program is installed. Build it before packaging.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Bound at load time, as Debian's hardened builds are, so the relocation table can be read-only
# from the start. Resolving these few hundred symbols eagerly costs microseconds.
foreach(_target IN ITEMS quilvane quilvane-print)
    target_link_options(${_target} PRIVATE "LINKER:-z,now")
endforeach()

# Debian wants the licence as /usr/share/doc/<package>/copyright.
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/quilvane" RENAME copyright)
if(QUILVANE_LINTIAN_OVERRIDES)
    install(FILES "${PROJECT_SOURCE_DIR}/data/quilvane.lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME quilvane)
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quilvane")
set(CPACK_PACKAGE_VENDOR "Quilvane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
# The same maintainer as in data/changelog.
set(CPACK_PACKAGE_CONTACT "Quilvane <dev@quilvane.org>")
# A Debian synopsis is a phrase, not a sentence: same text without the final full stop.
string(REGEX REPLACE "\\.$" "" _quilvane_synopsis "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${_quilvane_synopsis}")
# Debian shows the long description under the synopsis, as is: it must not repeat it, and it is
# wrapped here.
set(CPACK_PACKAGE_DESCRIPTION "Si inseriscono i dodici numeri relativi mensili delle macchie solari di un
anno, e ciascuno compare subito come barra di un grafico. Scelto su quanti
mesi calcolarla, Quilvane mostra la media come barra orizzontale e in una
frase che nomina l'anno corrente, e stampa la finestra sulla stampante
predefinita di CUPS.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The build type carries debug info; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME "quilvane")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# dpkg-shlibdeps finds Qt and libcups; the font is loaded at run time, so it is named here and
# CPack appends the computed libraries to it. Its package's name depends on the release.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${QUILVANE_FONT_PACKAGE}")
# Without them the program still works: in Qt's English menus, and through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
