# The GNOME Shell extension for GNOME 43 and 44 (focus-legacy@veldran.org), which load an
# extension's files as scripts of the older kind (imports.gi, var), written at configure time
# into the build folder: its own extension.js and metadata.json, and the reporter of the GNOME 45
# extension turned from an ES module into such a script, so that the logic has one source.
#   import Gio from 'gi://Gio';   ->  const Gio = imports.gi.Gio;
#   export function f(            ->  function f(
#   export class C {              ->  var C = class C {
# (top-level functions and vars are what a legacy module shows to whoever imports it).
set(VELDRAN_GNOME_SHELL_SOURCE ${CMAKE_SOURCE_DIR}/packaging/gnome-shell)
set(VELDRAN_GNOME_SHELL_LEGACY ${CMAKE_BINARY_DIR}/packaging/gnome-shell/focus-legacy@veldran.org)

foreach(name extension.js metadata.json)
    configure_file(${VELDRAN_GNOME_SHELL_SOURCE}/focus-legacy@veldran.org/${name}
                   ${VELDRAN_GNOME_SHELL_LEGACY}/${name} COPYONLY)
endforeach()

set(reporter ${VELDRAN_GNOME_SHELL_SOURCE}/focus@veldran.org/focusReporter.js)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${reporter})
file(READ ${reporter} text)
string(REGEX REPLACE "import ([A-Za-z0-9_]+) from 'gi://([A-Za-z0-9_]+)';"
       "const \\1 = imports.gi.\\2;" text "${text}")
string(REGEX REPLACE "\nexport function " "\nfunction " text "${text}")
string(REGEX REPLACE "\nexport class ([A-Za-z0-9_]+) " "\nvar \\1 = class \\1 " text "${text}")
# Anything else that only an ES module can hold fails here rather than in the user's Shell.
if(text MATCHES "(^|\n)[ \t]*(import|export)[ \t{]")
    message(FATAL_ERROR "${reporter}: an import or export that cmake/GnomeShellLegacy.cmake "
                        "cannot turn into GNOME 43's kind of module")
endif()
file(WRITE ${VELDRAN_GNOME_SHELL_LEGACY}/focusReporter.js.new
     "// Written by cmake/GnomeShellLegacy.cmake from focus@veldran.org/focusReporter.js.\n"
     "${text}")
file(COPY_FILE ${VELDRAN_GNOME_SHELL_LEGACY}/focusReporter.js.new
     ${VELDRAN_GNOME_SHELL_LEGACY}/focusReporter.js ONLY_IF_DIFFERENT)
file(REMOVE ${VELDRAN_GNOME_SHELL_LEGACY}/focusReporter.js.new)
