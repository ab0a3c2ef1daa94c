# cmake --install: an FHS tree under any prefix. The executable in bin; the skin and the default
# settings read-only in share/veldran (the driver finds them from its own folder); the udev rule,
# the systemd user unit, the menu entry, the icons, the AppStream metainfo and the man page where
# the desktop looks for them.
include(GNUInstallDirs)

install(TARGETS veldran-driver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(VELDRAN_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/veldran)
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/skins DESTINATION ${VELDRAN_DATA_DESTINATION}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        PATTERN .generated EXCLUDE)
install(FILES resources/config.ini resources/Macro.dat DESTINATION ${VELDRAN_DATA_DESTINATION})
# What reports the window in front on KDE Plasma (loaded by the driver) and on GNOME (the Shell
# extension, enabled once by the user: focus@veldran.org for GNOME 45 and later, and beside it
# focus-legacy@veldran.org, written by cmake/GnomeShellLegacy.cmake, for GNOME 43 and 44).
install(FILES packaging/kwin/veldran-focus.js DESTINATION ${VELDRAN_DATA_DESTINATION}/kwin)
include(cmake/GnomeShellLegacy.cmake)
install(DIRECTORY packaging/gnome-shell/focus@veldran.org ${VELDRAN_GNOME_SHELL_LEGACY}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions)

# udev and systemd read these below the prefix's lib, never below a multiarch libdir.
install(FILES resources/70-veldran-mouse.rules DESTINATION lib/udev/rules.d)
# The uinput rule is opt-in: shipped beside the data, enabled by the user (README).
install(FILES resources/71-veldran-uinput.rules DESTINATION ${VELDRAN_DATA_DESTINATION})
# The unit names the executable by its absolute path, known only when the prefix is (cmake
# --install --prefix, or the package's /usr): it is written at install time.
install(CODE "
    set(VELDRAN_INSTALLED_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/veldran-driver.service\"
                   \"${CMAKE_BINARY_DIR}/packaging/veldran-driver.service\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/packaging/veldran-driver.service DESTINATION lib/systemd/user)

install(FILES packaging/${VELDRAN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(packaging/${VELDRAN_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/packaging/${VELDRAN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${VELDRAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${VELDRAN_ICON_FOLDER}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        PATTERN .generated EXCLUDE)

# The man page, compressed as Debian wants it (-n: no time stamp, so the package is reproducible).
configure_file(packaging/veldran-driver.1 ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1 @ONLY)
find_program(VELDRAN_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1.gz
    COMMAND ${VELDRAN_GZIP} -9nf -k ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1
    COMMENT "Compressing the man page")
add_custom_target(veldran_man_page ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/veldran-driver.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The D-Bus interface's description, for tools that generate clients or browse the bus, and the
# shell completion of the command line.
install(FILES packaging/dbus/org.veldran.Driver1.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES packaging/bash-completion/veldran-driver
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
