# What a Windows build needs beyond the shared build description.

# orvex.dll, orvex_simboard.dll: the names Windows programs expect, without "lib".
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
# Windows finds a program's DLLs beside it, so programs and DLLs are built into one folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Every DLL and program carries the GCC runtime, the C++ library and the threads it uses,
# so the build runs on a machine without MinGW.  DLLs exchange only C types, so each may
# have its own copy.  A build of the window links Qt's DLLs, which share MinGW's runtime
# DLLs, so it turns this off.
option(ORVEX_STATIC_RUNTIME "Link the MinGW runtime into every DLL and program" ON)
if(MINGW AND ORVEX_STATIC_RUNTIME)
    add_link_options(-static)
endif()

# Cross-built test programs run under Wine, in a prefix of the build tree's own.  Wine
# shows the build machine's root as drive Z:, so paths handed to the programs get that
# drive.
if(CMAKE_CROSSCOMPILING AND ORVEX_BUILD_TESTS)
    find_program(ZELBRIN_WINE wine REQUIRED)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        set(CMAKE_CROSSCOMPILING_EMULATOR
            ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
    endif()
    set(ZELBRIN_TEST_PATH_PREFIX "Z:")
endif()

# Header-only libraries are the build machine's own; find_package() meets them through a
# redirect, since packages are otherwise looked for in the MinGW tree only.
function(zelbrin_host_header_package package target header_folder)
    if(TARGET ${target} OR NOT EXISTS /usr/include/${header_folder})
        return()
    endif()
    set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${host_headers})
    file(CREATE_LINK /usr/include/${header_folder} ${host_headers}/${header_folder} SYMBOLIC)
    add_library(${package}_host_headers INTERFACE IMPORTED GLOBAL)
    set_target_properties(${package}_host_headers PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${host_headers})
    add_library(${target} ALIAS ${package}_host_headers)
    string(TOLOWER ${package} lower_case_package)
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower_case_package}-config.cmake "")
endfunction()
zelbrin_host_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann)
zelbrin_host_header_package(CLI11 CLI11::CLI11 CLI) # the terminal tool's

# GoogleTest built from Debian's sources for the target.
if(ORVEX_BUILD_TESTS AND EXISTS /usr/src/googletest AND NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake "")
endif()
