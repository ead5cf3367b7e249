# Applies to everything built in this tree, test drivers and the simulated
# board included, so that a fault anywhere on the call path is reported.
set(ZELBRIN_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_compile_options(${ZELBRIN_SANITIZER_FLAGS})
add_link_options(-fsanitize=address,undefined)
