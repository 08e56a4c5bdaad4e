# lumisong_add_subfolders(<folder>...): adds the named subfolders of the
# current folder, in the order given. Each must exist: a missing one stops the
# configuration instead of dropping its targets.
function(lumisong_add_subfolders)
    foreach(child ${ARGN})
        add_subdirectory(${child})
    endforeach()
endfunction()
