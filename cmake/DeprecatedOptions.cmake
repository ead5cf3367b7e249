# The build options were named ZELBRIN_* before they took the prefix of what they build.
# An old name still works for this release, with a warning; the new name wins if both
# are given.
foreach(option BUILD_TESTS BUILD_BENCH BUILD_SIMBOARD BUILD_TOOLS INSTALL SANITIZE FUZZ
        STATIC_RUNTIME)
    if(DEFINED ZELBRIN_${option})
        message(DEPRECATION "ZELBRIN_${option} is now ORVEX_${option}; the old name goes in 0.4")
        if(NOT DEFINED ORVEX_${option})
            set(ORVEX_${option} ${ZELBRIN_${option}} CACHE BOOL "" FORCE)
        endif()
    endif()
endforeach()
