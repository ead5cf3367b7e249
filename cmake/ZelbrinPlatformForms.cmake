# Code that differs between the operating systems lives in pairs of small files,
# <stem>_posix.cpp and <stem>_windows.cpp; this gives the one to build.
function(zelbrin_platform_form out_var stem)
    if(WIN32)
        set(${out_var} ${stem}_windows.cpp PARENT_SCOPE)
    else()
        set(${out_var} ${stem}_posix.cpp PARENT_SCOPE)
    endif()
endfunction()
