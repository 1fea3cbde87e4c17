# Instrumented native builds.
#
# SETUP_SANITIZE: the native configuration under AddressSanitizer and
# UndefinedBehaviorSanitizer. Every report ends the program with an error
# (no recovery), so the test that caused it fails.
option(SETUP_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(SETUP_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if(SETUP_SANITIZE)
    add_compile_options(${SETUP_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
endif()
