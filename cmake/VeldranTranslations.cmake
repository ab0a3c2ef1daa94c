# The program's texts in the user's language. translations/veldran_<lang>.ts hold the
# translations of the texts the sources mark (tr(), QCoreApplication::translate,
# QT_TRANSLATE_NOOP); lrelease compiles each into translations/veldran_<lang>.qm beside the built
# executable, and the install puts them in share/veldran/translations, where the driver finds
# them from its own folder like the skin.
#
# After adding or changing a marked text, refresh the .ts files (existing translations are kept,
# texts that are gone are dropped) and fill in the new entries:
#     cmake --build build/default --target update-translations
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

set(VELDRAN_TS_FILES ${CMAKE_SOURCE_DIR}/translations/veldran_en.ts)
set(VELDRAN_QM_FOLDER ${CMAKE_BINARY_DIR}/bin/translations)
# The options the refresh runs lupdate with; the translation test runs it the same way.
set(VELDRAN_LUPDATE_OPTIONS -locations none -no-obsolete -I ${CMAKE_SOURCE_DIR}/src
    ${CMAKE_SOURCE_DIR}/src)

set(VELDRAN_QM_FILES "")
foreach(ts IN LISTS VELDRAN_TS_FILES)
    get_filename_component(name ${ts} NAME_WE)
    set(qm ${VELDRAN_QM_FOLDER}/${name}.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELDRAN_QM_FOLDER}
        COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
        DEPENDS ${ts}
        COMMENT "Compiling the translation ${name}")
    list(APPEND VELDRAN_QM_FILES ${qm})
endforeach()
add_custom_target(veldran_translations ALL DEPENDS ${VELDRAN_QM_FILES})
add_dependencies(veldran-driver veldran_translations)
install(FILES ${VELDRAN_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/veldran/translations)

add_custom_target(update-translations
    COMMAND Qt6::lupdate ${VELDRAN_LUPDATE_OPTIONS} -ts ${VELDRAN_TS_FILES}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Refreshing the translations from the texts the sources mark"
    VERBATIM)
