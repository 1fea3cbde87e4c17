# Instrumented native builds.
#
# SETUP_SANITIZE: the native configuration under AddressSanitizer and
# UndefinedBehaviorSanitizer. Every report ends the program with an error
# (no recovery), so the test that caused it fails.
#
# SETUP_FUZZ: the libFuzzer targets (clang only). The system and the
# simulated Windows are built with the same sanitizers and with the fuzzer's
# coverage instrumentation; the targets link the fuzzer's own main.
option(SETUP_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(SETUP_FUZZ "Build the libFuzzer targets instead of the tests (clang)" OFF)

set(SETUP_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if(SETUP_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "SETUP_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(${SETUP_SANITIZER_FLAGS} -fsanitize=fuzzer-no-link)
    add_link_options(-fsanitize=address,undefined)
elseif(SETUP_SANITIZE)
    add_compile_options(${SETUP_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
endif()
