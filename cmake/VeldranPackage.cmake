# make deb: the installed tree of cmake/VeldranInstall.cmake as a Debian package,
# veldran-driver_<version>_<arch>.deb, with its shared-library dependencies computed by
# dpkg-shlibdeps and maintainer scripts that reload the udev rules where udev runs.
set(VELDRAN_DOC_DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veldran-driver)
install(FILES packaging/debian/copyright DESTINATION ${VELDRAN_DOC_DESTINATION})
configure_file(packaging/debian/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${VELDRAN_GZIP} -9nf -k ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    COMMENT "Compressing the package's changelog")
add_custom_target(veldran_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${VELDRAN_DOC_DESTINATION})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldran-driver)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "VELDRAN mouse driver team <driver@veldran.invalid>")
set(CPACK_PACKAGE_DESCRIPTION
    "Assigns functions to the mouse's seven buttons, sets its DPI stages, wheel
and light modes, keeps five profiles and records and plays macros. It starts
hidden in the notification area when the mouse is plugged in and carries out
the software functions of its buttons.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/deb)
# Only the installed tree: not the build or source folders.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
