# Fuzz builds (scripts/fuzz.sh, with clang and ORVEX_SANITIZE): every library carries the
# fuzzer's coverage, so a fuzz target that links a library explores its code too.  Only
# the fuzz targets are built in such a tree.
option(ORVEX_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(ORVEX_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# A libFuzzer program from its sources and the libraries whose code it drives.
function(zelbrin_add_fuzz_target name)
    cmake_parse_arguments(FUZZ "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${FUZZ_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz)
    target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES} zelbrin_warnings)
endfunction()
