# Qt's headers are most of the compile time of a file that includes them: each group of
# targets with the same compile flags parses the ones most files need once, into a precompiled
# header of one target that the others reuse. Only those: all of QtWidgets would make a header
# of 370 MB that costs more to load than it saves. gcc checks that the flags agree and
# otherwise warns (-Winvalid-pch) and reads the headers as usual, so a mismatch costs time,
# never a build.
#
# Not for gcc in a unity build: there each target is one file that parses Qt's headers once, and
# gcc spends two seconds loading its precompiled header, so it only adds the time to make it.
function(quilvane_precompiles_qt result)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_UNITY_BUILD)
        set(${result} OFF PARENT_SCOPE)
    else()
        set(${result} ON PARENT_SCOPE)
    endif()
endfunction()

# TARGET precompiles the widget headers, with Qt Test's where WITH_TEST is given. ALONE says no
# other target reuses them: in a unity build such a target is one file, which would parse them
# once either way.
function(quilvane_precompile_qt target)
    quilvane_precompiles_qt(wanted)
    if(NOT wanted OR ("ALONE" IN_LIST ARGN AND CMAKE_UNITY_BUILD))
        return()
    endif()
    set(headers <QApplication> <QLineEdit> <QListWidget> <QPushButton> <QPainter> <QMenuBar>
                <QAction> <QKeyEvent> <QAccessible> <QImage>)
    if("WITH_TEST" IN_LIST ARGN)
        list(APPEND headers <QTest>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
    quilvane_skip_precompiled_in_empty_moc(${target})
endfunction()

# Where every moc file is included by a .cpp, as here, AUTOMOC's compilation file is empty:
# loading the header for it would cost gcc some 3 s of nothing.
function(quilvane_skip_precompiled_in_empty_moc target)
    get_target_property(automoc ${target} AUTOMOC)
    if(automoc)
        get_target_property(binary_dir ${target} BINARY_DIR)
        set_source_files_properties("${binary_dir}/${target}_autogen/mocs_compilation.cpp"
            TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
endfunction()

# Each of the TARGETS reuses the precompiled header of HOST.
function(quilvane_reuse_precompiled_qt host)
    quilvane_precompiles_qt(wanted)
    if(NOT wanted)
        return()
    endif()
    foreach(target IN LISTS ARGN)
        target_precompile_headers(${target} REUSE_FROM ${host})
        quilvane_skip_precompiled_in_empty_moc(${target})
    endforeach()
endfunction()
