# What a Windows build needs beyond the shared build description.

# orvex.dll, orvex_simboard.dll: the names Windows programs expect, without "lib".
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
# Windows finds a program's DLLs beside it, so programs and DLLs are built into one folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Every DLL and program carries the GCC runtime, the C++ library and the threads it uses,
# so the build runs on a machine without MinGW.  DLLs exchange only C types, so each may
# have its own copy.
add_link_options(-static)

# Test programs run under Wine, in a prefix of the build tree's own.  Wine shows the
# build machine's root as drive Z:, so paths handed to the programs get that drive.
find_program(ZELBRIN_WINE wine)
if(ZELBRIN_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
set(ZELBRIN_TEST_PATH_PREFIX "Z:")

# Header-only nlohmann-json is the build machine's own; find_package() meets it through
# a redirect, since packages are otherwise looked for in the MinGW tree only.
if(NOT TARGET nlohmann_json::nlohmann_json)
    set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${host_headers})
    file(CREATE_LINK /usr/include/nlohmann ${host_headers}/nlohmann SYMBOLIC)
    add_library(nlohmann_json INTERFACE IMPORTED GLOBAL)
    set_target_properties(nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/nlohmann_json-config.cmake "")
endif()

# GoogleTest built from Debian's sources for the target.
if(ZELBRIN_BUILD_TESTS AND NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake "")
endif()
