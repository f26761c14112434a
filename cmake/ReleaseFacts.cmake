# The facts of the release the package is built on, from the one place they are written.
function(quilvane_release_fact result field)
    execute_process(COMMAND sh "${PROJECT_SOURCE_DIR}/scripts/platforms.sh" release_codename
        OUTPUT_VARIABLE codename OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND sh "${PROJECT_SOURCE_DIR}/scripts/platforms.sh" release_fact
        "${codename}" ${field} OUTPUT_VARIABLE fact RESULT_VARIABLE unknown
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(unknown)
        set(fact "")
    endif()
    set(${result} "${fact}" PARENT_SCOPE)
endfunction()

# From Debian 13 on AppStream 1.0 fails the metainfo for want of a homepage, which Quilvane has
# not, and lintian warns of it: the package says why it overrides that. Debian 12's AppStream
# accepts the metainfo, and its lintian knows no such tag.
quilvane_release_fact(_quilvane_homepage homepage)
if(_quilvane_homepage STREQUAL "optional")
    set(QUILVANE_LINTIAN_OVERRIDES OFF)
else()
    set(QUILVANE_LINTIAN_OVERRIDES ON)
endif()

# The font the layout is measured for, which the package depends on: its name depends on the
# release.
quilvane_release_fact(QUILVANE_FONT_PACKAGE fonts)
if(NOT QUILVANE_FONT_PACKAGE)
    set(QUILVANE_FONT_PACKAGE fonts-liberation)
    message(WARNING "An unknown release: the package depends on ${QUILVANE_FONT_PACKAGE}")
endif()
