# What `cmake --install` puts where, in components that become the Debian packages:
#   runtime      liborvex.so.<major>
#   development  orvex.h, liborvex.so, the CMake package orvex::orvex, orvex.pc
#   simboard     the simulated board under <libdir>/orvex/, with its control header
#   app          zelbrin and its panel file
#   scope        orvex-scope and its manual page
#   tools        the terminal tool orvex, its manual page and bash completion
#   recording    liborvex_recording.so.<major>, the recording library's C face
include(CMakePackageConfigHelpers)

set(ORVEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/orvex)

install(TARGETS orvex EXPORT orvexTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT orvexTargets NAMESPACE orvex:: DESTINATION ${ORVEX_CMAKE_DIR}
        COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/install/orvexConfig.cmake.in
    ${PROJECT_BINARY_DIR}/orvexConfig.cmake INSTALL_DESTINATION ${ORVEX_CMAKE_DIR})
# A 0.x library promises nothing across minor versions.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/orvexConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/orvexConfig.cmake ${PROJECT_BINARY_DIR}/orvexConfigVersion.cmake
        DESTINATION ${ORVEX_CMAKE_DIR} COMPONENT development)

# orvex.pc: a static archive also needs the C++ runtime and the dynamic loader.
set(ORVEX_PC_LIBS "-lorvex")
set(ORVEX_PC_CFLAGS "")
if(NOT ORVEX_BUILD_SHARED)
    string(APPEND ORVEX_PC_LIBS " -lstdc++ -lm")
    foreach(library IN LISTS CMAKE_DL_LIBS)
        string(APPEND ORVEX_PC_LIBS " -l${library}")
    endforeach()
    set(ORVEX_PC_CFLAGS " -DORVEX_STATIC")
endif()
# Relative to the file itself, so an unpacked or moved tree still works.
file(RELATIVE_PATH ORVEX_PC_PREFIX_FROM_PCDIR
     ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ORVEX_PC_PREFIX_FROM_PCDIR "${ORVEX_PC_PREFIX_FROM_PCDIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/install/orvex.pc.in ${PROJECT_BINARY_DIR}/orvex.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT development)

if(TARGET orvex_simboard)
    install(TARGETS orvex_simboard LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/orvex
            COMPONENT simboard)
    install(FILES ${PROJECT_SOURCE_DIR}/platform/simboard/include/orvex/simboard_control.h
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvex COMPONENT simboard)
endif()

if(TARGET zelbrin)
    install(TARGETS zelbrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT app)
    install(FILES ${PROJECT_SOURCE_DIR}/zelbrin/Zelbrin.uir
            DESTINATION ${CMAKE_INSTALL_DATADIR}/zelbrin COMPONENT app)
endif()

if(TARGET orvex_scope)
    install(TARGETS orvex_scope RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT scope)
    install(FILES ${PROJECT_BINARY_DIR}/tools/orvex-scope/orvex-scope.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT scope)
endif()

# The recording library's C face serves the Python package through ctypes alone, so
# it ships without a link-time name or header.
if(TARGET orvex_recording_shared)
    install(TARGETS orvex_recording_shared
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT recording NAMELINK_SKIP)
endif()

if(TARGET orvex_cli)
    install(TARGETS orvex_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
    install(FILES ${PROJECT_BINARY_DIR}/tools/orvex-cli/orvex.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
    install(FILES ${PROJECT_SOURCE_DIR}/tools/orvex-cli/orvex.bash-completion RENAME orvex
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT tools)
endif()
