# Qt user interface, Linux platform adapters, the executables and the generated skin.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network DBus)
find_package(PkgConfig REQUIRED)
pkg_check_modules(UDEV REQUIRED IMPORTED_TARGET libudev)
pkg_check_modules(XLIBS REQUIRED IMPORTED_TARGET x11 xtst xcb xcb-res)

# Linux adapters of the platform seam (udev/hidraw, sockets, X11, D-Bus, processes).
veldran_glob(VELDRAN_LINUX_SOURCES src/platform/linux)
add_library(veldran_platform_linux STATIC ${VELDRAN_LINUX_SOURCES})
target_link_libraries(veldran_platform_linux PUBLIC veldran_core Qt6::Core Qt6::Gui Qt6::DBus
                      PkgConfig::UDEV PkgConfig::XLIBS)

# The Qt user interface: skin, menus, macro editor and the application shell.
veldran_glob(VELDRAN_UI_SOURCES src/skin src/menus src/macro src/control src/app)
list(FILTER VELDRAN_UI_SOURCES EXCLUDE REGEX ".*/src/app/main\\.cpp$")
add_library(veldran_ui STATIC ${VELDRAN_UI_SOURCES} resources/veldran.qrc)
target_link_libraries(veldran_ui PUBLIC veldran_platform_linux Qt6::Widgets Qt6::Network)
set_target_properties(veldran_ui PROPERTIES AUTORCC ON)
# Where an installed driver finds its skin and default settings, relative to its own folder, so
# that the installed tree works under any prefix.
include(GNUInstallDirs)
file(RELATIVE_PATH VELDRAN_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/veldran)
target_compile_definitions(veldran_ui PRIVATE VELDRAN_DATA_FROM_BIN="${VELDRAN_DATA_FROM_BIN}")

add_executable(veldran-driver src/app/main.cpp)
target_compile_definitions(veldran-driver PRIVATE VELDRAN_VERSION="${PROJECT_VERSION}")
target_link_libraries(veldran-driver PRIVATE veldran_ui)

# The desktop's name of the program: its .desktop entry, AppStream component and icon.
set(VELDRAN_APP_ID org.veldran.Driver)
set(VELDRAN_ICON_FOLDER ${CMAKE_BINARY_DIR}/icons)

add_subdirectory(tools/virtual-mouse)
add_subdirectory(tools/skin-gen)

# Default settings beside the executable; a file that is already there is never overwritten.
add_custom_target(veldran_default_files ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/resources -DDST=${CMAKE_BINARY_DIR}/bin
            -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfAbsent.cmake
    COMMENT "Default config.ini and Macro.dat beside the executable")
add_dependencies(veldran-driver veldran_default_files veldran_skin)

include(cmake/VeldranTranslations.cmake)
include(cmake/VeldranInstall.cmake)
include(cmake/VeldranPackage.cmake)
