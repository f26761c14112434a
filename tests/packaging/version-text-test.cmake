# Checks the "1.00" style version users see, for versions beyond today's 1.0.0.
# Run with: cmake -DMODULE=<data/QuilvaneVersionText.cmake> -P version-text-test.cmake
include(${MODULE})

set(failures 0)
foreach(row IN ITEMS "1;0;1.00" "1;5;1.05" "1;9;1.09" "1;10;1.10" "2;99;2.99" "0;1;0.01" "12;3;12.03")
    list(GET row 0 major)
    list(GET row 1 minor)
    list(GET row 2 expected)
    quilvane_version_text(text ${major} ${minor})
    if(NOT text STREQUAL expected)
        message(SEND_ERROR "version ${major}.${minor} should read ${expected}, but reads ${text}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
if(failures EQUAL 0)
    message(STATUS "all version texts read as expected")
endif()
