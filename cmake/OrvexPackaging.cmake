# Debian packages of the install components, made by CPack's DEB generator
# (scripts/package.sh):
#   liborvex0       runtime      the shared library
#   liborvex-dev    development  header, CMake package, pkg-config file
#   orvex-simboard  simboard     the simulated board driver
#   zelbrin         app          the lab program
#   orvex-scope     scope        the scope
#   orvex-tools     tools        the terminal tool orvex
#   liborvex-recording0
#                   recording    the recording library for the Python package
#   python3-orvex   python       the Python package
# Dependencies on Debian's libraries come from dpkg-shlibdeps; those between these
# packages from the components' own dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvex)
set(CPACK_PACKAGE_VENDOR Zelbrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelbrin lab <lab@zelbrin.invalid>")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
if(TARGET orvex_simboard)
    list(APPEND CPACK_COMPONENTS_ALL simboard)
endif()
if(TARGET zelbrin)
    list(APPEND CPACK_COMPONENTS_ALL app)
endif()
if(TARGET orvex_scope)
    list(APPEND CPACK_COMPONENTS_ALL scope)
endif()
if(TARGET orvex_cli)
    list(APPEND CPACK_COMPONENTS_ALL tools)
endif()
if(TARGET orvex_recording_shared)
    list(APPEND CPACK_COMPONENTS_ALL recording)
endif()
list(APPEND CPACK_COMPONENTS_ALL python)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds liborvex.so.0, which no installed package provides yet, here.
get_target_property(orvex_binary_dir orvex BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${orvex_binary_dir})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME liborvex0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# ldconfig runs through dpkg's trigger rather than from the package's own scripts.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/install/liborvex0/triggers)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "access library of the NI 6251 board\nThe orvex C library: slot selection, digital ports, single-point and\nsample-clocked analog input and output, with one process-wide error state.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvex-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "access library of the NI 6251 board - development files\nThe header orvex.h, the CMake package orvex::orvex and the pkg-config file\norvex.pc of the orvex library.")

set(CPACK_DEBIAN_SIMBOARD_PACKAGE_NAME orvex-simboard)
set(CPACK_DEBIAN_SIMBOARD_PACKAGE_SECTION science)
set(CPACK_COMPONENT_SIMBOARD_DESCRIPTION
    "simulated NI 6251 board for the orvex library\nA board driver library that behaves like the board wired to the lab stand;\nprograms use it by naming it in ORVEX_DRIVER.")

set(CPACK_DEBIAN_APP_PACKAGE_NAME zelbrin)
set(CPACK_DEBIAN_APP_PACKAGE_SECTION science)
set(CPACK_COMPONENT_APP_DEPENDS runtime)
set(CPACK_DEBIAN_APP_PACKAGE_SUGGESTS orvex-simboard)
set(CPACK_COMPONENT_APP_DESCRIPTION
    "lab workstation program for the NI 6251 board\nOne window to flip and watch digital port lines and watch analog inputs as\nvoltages and as a calibrated position on an XY graph.")

set(CPACK_DEBIAN_SCOPE_PACKAGE_NAME orvex-scope)
set(CPACK_DEBIAN_SCOPE_PACKAGE_SECTION science)
set(CPACK_COMPONENT_SCOPE_DEPENDS runtime)
set(CPACK_DEBIAN_SCOPE_PACKAGE_SUGGESTS "orvex-simboard, zelbrin")
set(CPACK_COMPONENT_SCOPE_DESCRIPTION
    "oscilloscope for the NI 6251 board\nThe inputs ai0 to ai15 over time, rolling or triggered (auto, normal,\nsingle), with cursors, measurements, a generator on ao0 and ao1, zoom and\nscroll through a history of up to 10^8 samples, and CSV and PNG exports.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME orvex-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION science)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SUGGESTS orvex-simboard)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION
    "terminal tool for the NI 6251 board\nThe command orvex reads and drives ports and lines, reads and writes voltages,\nrecords clocked acquisitions to CSV, TSV, raw or HDF5 files, generates waves\nand runs scripts of these commands, through the orvex library.  orvex record\nruns long unattended recordings to rotated HDF5 files, with a systemd unit.")

set(CPACK_DEBIAN_RECORDING_PACKAGE_NAME liborvex-recording0)
set(CPACK_DEBIAN_RECORDING_PACKAGE_SECTION libs)
# The same ldconfig trigger as liborvex0's.
set(CPACK_DEBIAN_RECORDING_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/install/liborvex0/triggers)
set(CPACK_COMPONENT_RECORDING_DESCRIPTION
    "recordings of the NI 6251 board in self-describing HDF5 files\nThe recording library's C interface: rotated HDF5 files with the start time,\nthe channels and the events, readable while they are written; used by the\nPython package python3-orvex to record.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-orvex)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3, python3-numpy")
# h5py reads recordings and liborvex-recording0 writes them; the rest of the package
# works without either.
set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS "python3-h5py, liborvex-recording0 (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "orvex-simboard, python3-matplotlib")
set(CPACK_COMPONENT_PYTHON_DESCRIPTION
    "access library of the NI 6251 board - Python 3 module\nThe package orvex over the orvex library: the board as a context manager,\nports, lines and analog channels, acquisitions into numpy arrays, failures as\nexceptions; recordings in HDF5 written and read.")

# Every package carries its copyright and change log.
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} upper)
    set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/install/copyright
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    install(FILES ${PROJECT_BINARY_DIR}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/install/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
    COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/changelog > ${PROJECT_BINARY_DIR}/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/changelog)
add_custom_target(orvex_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz)

include(CPack)
