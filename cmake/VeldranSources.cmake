# Collects the .cpp files directly inside the given folders (not their subfolders), so that a new
# source file joins its target without editing the build files.
function(veldran_glob out)
    set(files "")
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    list(SORT files)
    set(${out} ${files} PARENT_SCOPE)
endfunction()
