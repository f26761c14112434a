# A program of several test classes (OneTestOfMany.h) refuses a class it does not hold, so that a
# misnamed CTest test fails instead of passing without a test run, and it holds exactly the
# classes CTest runs, so that none is compiled in and never run.
# cmake -DPROGRAM=<program> "-DCLASSES=<class;...>" [-DRUNNER=<emulator>] -P one-test-of-many-check.cmake
foreach(arguments IN ITEMS "" "NoSuchTestClass" "-functions")
    separate_arguments(arguments)
    execute_process(COMMAND ${RUNNER} "${PROGRAM}" ${arguments} RESULT_VARIABLE status
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL 2)
        message(FATAL_ERROR "'${PROGRAM} ${arguments}' ended with ${status}, not 2:\n${output}${errors}")
    endif()
endforeach()

string(REGEX MATCH "classes:([^\n]*)" listed "${errors}")
string(STRIP "${CMAKE_MATCH_1}" held)
string(REPLACE " " ";" held "${held}")
list(SORT held)
set(expected ${CLASSES})
list(SORT expected)
if(NOT held STREQUAL expected)
    message(FATAL_ERROR "the program holds '${held}', CTest runs '${expected}'")
endif()
