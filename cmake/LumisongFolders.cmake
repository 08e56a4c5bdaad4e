# lumisong_add_subfolders(): adds every subfolder of the current folder that
# has a CMakeLists.txt, in name order, so parts join as they land without a
# shared list to edit.
function(lumisong_add_subfolders)
    file(GLOB _children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT _children)
    foreach(child ${_children})
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
