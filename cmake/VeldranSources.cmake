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

# A static library of the .cpp files of one folder of src/, with src/ as its include root, linked
# to the given libraries (PUBLIC: a folder's headers show the types of the folders below it).
function(veldran_folder_library name folder)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    veldran_glob(sources ${folder})
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    if(ARG_LIBS)
        target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    endif()
endfunction()
