# Users have always seen the version as "1.00": major, dot, minor padded to two digits.
function(quilvane_version_text out_var major minor)
    if(minor LESS 10)
        set(minor "0${minor}")
    endif()
    set(${out_var} "${major}.${minor}" PARENT_SCOPE)
endfunction()
