# Warnings for this tree's own targets only; a parent project keeps its flags.
add_library(zelbrin_warnings INTERFACE)
target_compile_options(zelbrin_warnings INTERFACE
    $<$<COMPILE_LANG_AND_ID:CXX,GNU,Clang>:-Wall -Wextra>
    $<$<COMPILE_LANG_AND_ID:C,GNU,Clang>:-Wall -Wextra>)
