# Copies the default settings files from SRC to DST unless DST already has them.
foreach(name config.ini Macro.dat)
    if(EXISTS "${SRC}/${name}" AND NOT EXISTS "${DST}/${name}")
        file(COPY "${SRC}/${name}" DESTINATION "${DST}")
    endif()
endforeach()
