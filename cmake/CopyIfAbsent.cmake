# Copies the default settings files from SRC to DST unless DST already has them. The copies are
# the user's alone (0600): the settings come to hold recorded keys. A copy that an earlier build
# left readable by others is tightened.
foreach(name config.ini Macro.dat)
    if(EXISTS "${SRC}/${name}" AND NOT EXISTS "${DST}/${name}")
        file(COPY "${SRC}/${name}" DESTINATION "${DST}"
             FILE_PERMISSIONS OWNER_READ OWNER_WRITE)
    elseif(EXISTS "${DST}/${name}" AND NOT IS_SYMLINK "${DST}/${name}")
        file(CHMOD "${DST}/${name}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE)
    endif()
endforeach()
