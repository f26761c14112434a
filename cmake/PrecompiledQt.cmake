# Qt's headers are most of the compile time of a file that includes them (8 s of a 13 s test
# file): each group of targets with the same compile flags parses them once, into a precompiled
# header of one target that the others reuse. gcc checks that the flags agree and otherwise
# warns (-Winvalid-pch) and reads the headers as usual, so a mismatch costs time, never a build.

# TARGET precompiles Qt's widget headers, with Qt Test's where WITH_TEST is given.
function(quilvane_precompile_qt target)
    set(headers <QtWidgets/QtWidgets>)
    if("WITH_TEST" IN_LIST ARGN)
        list(APPEND headers <QtTest/QtTest>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# Each of the TARGETS reuses the precompiled header of HOST.
function(quilvane_reuse_precompiled_qt host)
    foreach(target IN LISTS ARGN)
        target_precompile_headers(${target} REUSE_FROM ${host})
    endforeach()
endfunction()
