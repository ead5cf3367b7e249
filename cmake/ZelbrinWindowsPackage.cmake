# The ZIP of the Windows build (cpack -G ZIP in the build folder):
#   bin/      orvex.dll, orvex_simboard.dll and the terminal tool orvex.exe when built
#   include/  orvex.h
#   lib/      orvex.dll.a (MinGW import library) and orvex.def (for MSVC's lib /def:)
install(TARGETS orvex RUNTIME DESTINATION bin ARCHIVE DESTINATION lib
        PUBLIC_HEADER DESTINATION include)
if(MINGW)
    set(orvex_def_file ${CMAKE_BINARY_DIR}/orvex.def)
    target_link_options(orvex PRIVATE -Wl,--output-def,${orvex_def_file})
    install(FILES ${orvex_def_file} DESTINATION lib)
endif()
if(TARGET orvex_simboard)
    install(FILES $<TARGET_FILE:orvex_simboard> DESTINATION bin)
endif()
if(TARGET orvex_cli)
    install(TARGETS orvex_cli RUNTIME DESTINATION bin)
endif()

# CPack's settings are global: a parent project keeps its own.
if(NOT PROJECT_IS_TOP_LEVEL)
    return()
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_VENDOR Zelbrin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "orvex: access to the NI 6251 board, for 64-bit Windows")
include(CPack)
