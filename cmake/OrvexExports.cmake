# A versioned shared library that exports only what its version script lists, and whose
# calls inside it reach its own functions without going through the symbol table,
# whatever a program or another library defines.  A DLL exports only what its header
# marks (MinGW: every function, when none is marked) and always binds its own calls, so
# Windows needs only the version.
function(orvex_exports_only target map_file)
    set_target_properties(${target} PROPERTIES
        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
        LINK_DEPENDS ${map_file})
    if(NOT WIN32)
        target_link_options(${target} PRIVATE
            LINKER:--version-script=${map_file} LINKER:--no-undefined LINKER:-Bsymbolic)
    endif()
endfunction()
