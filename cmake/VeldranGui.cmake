# Qt user interface, Linux platform adapters, the executables and the generated skin.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network DBus)
find_package(PkgConfig REQUIRED)
pkg_check_modules(UDEV REQUIRED IMPORTED_TARGET libudev)
pkg_check_modules(XLIBS REQUIRED IMPORTED_TARGET x11 xtst xcb xcb-res)

# Linux adapters of the platform seam (udev/hidraw, sockets, files, X11, D-Bus, processes).
veldran_folder_library(veldran_platform_linux src/platform/linux
    LIBS veldran_platform Qt6::Core Qt6::Gui Qt6::Widgets Qt6::DBus PkgConfig::UDEV PkgConfig::XLIBS)
# The platform interfaces link their definitions back in from here (a cycle of static libraries):
# moc of these sources needs nothing built by the libraries they link.
set_target_properties(veldran_platform_linux PROPERTIES AUTOGEN_ORIGIN_DEPENDS OFF)

# The Qt user interface, a library per folder along the arrows: the skinned windows' floor, the
# function menus and the macro editor on it, the doors of the profile controller, and the
# application shell on top of them all (the only one that reaches the Linux adapters).
veldran_folder_library(veldran_skin src/skin LIBS veldran_config Qt6::Widgets)
veldran_folder_library(veldran_menus src/menus LIBS veldran_skin)
veldran_folder_library(veldran_macro src/macro LIBS veldran_skin)
veldran_folder_library(veldran_control src/control LIBS veldran_device Qt6::Core Qt6::DBus Qt6::Network)
# The session bus's adaptor, generated from the one description of the interface.
qt_add_dbus_adaptor(VELDRAN_BUS_ADAPTOR ${CMAKE_SOURCE_DIR}/packaging/dbus/org.veldran.Driver1.xml
                    control/DriverBusService.h veldran::DriverBusService DriverBusAdaptor
                    DriverBusAdaptor)
target_sources(veldran_control PRIVATE ${VELDRAN_BUS_ADAPTOR})
target_include_directories(veldran_control PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
veldran_glob(VELDRAN_APP_SOURCES src/app)
list(FILTER VELDRAN_APP_SOURCES EXCLUDE REGEX ".*/src/app/main\\.cpp$")
add_library(veldran_app STATIC ${VELDRAN_APP_SOURCES} resources/veldran.qrc)
target_link_libraries(veldran_app PUBLIC veldran_control veldran_menus veldran_macro veldran_skin
                      veldran_device veldran_platform_linux Qt6::Widgets Qt6::Network)
set_target_properties(veldran_app PROPERTIES AUTORCC ON)
# Where an installed driver finds its skin and default settings, relative to its own folder, so
# that the installed tree works under any prefix.
include(GNUInstallDirs)
file(RELATIVE_PATH VELDRAN_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/veldran)
target_compile_definitions(veldran_app PRIVATE VELDRAN_DATA_FROM_BIN="${VELDRAN_DATA_FROM_BIN}")

add_executable(veldran-driver src/app/main.cpp)
target_compile_definitions(veldran-driver PRIVATE VELDRAN_VERSION="${PROJECT_VERSION}")
target_link_libraries(veldran-driver PRIVATE veldran_app)

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
add_dependencies(veldran-driver veldran_default_files veldran_default_skin)

include(cmake/VeldranTranslations.cmake)
include(cmake/VeldranInstall.cmake)
include(cmake/VeldranPackage.cmake)
