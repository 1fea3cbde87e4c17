# The same tree builds the same bytes, so that whoever puts W2KSetup.exe on a
# media can rebuild it from the tag and compare its SHA-256.
#
# reproducible_executable(TARGET LIBRARY...): TARGET's PE timestamp is the
# tree's time (cmake/source_date_epoch.sh), and neither TARGET nor the
# libraries it is made of name a folder of the build machine in their code.
function(reproducible_executable target)
    # __FILE__ and any debug information name the sources from the tree.
    set(prefix_maps -ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    foreach(part ${target} ${ARGN})
        target_compile_options(${part} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:${prefix_maps}>")
    endforeach()

    # The time is looked up on every build and relinks the target when it
    # changes (a new commit, another SOURCE_DATE_EPOCH).
    set(script ${PROJECT_SOURCE_DIR}/cmake/source_date_epoch.sh)
    set(epoch_file ${CMAKE_BINARY_DIR}/${target}.source_date_epoch)
    add_custom_target(${target}_source_date
        COMMAND sh ${script} ${PROJECT_SOURCE_DIR} ${epoch_file}
        BYPRODUCTS ${epoch_file}
        VERBATIM)
    add_dependencies(${target} ${target}_source_date)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${epoch_file})
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK "sh \"${script}\" --link \"${epoch_file}\"")
endfunction()
