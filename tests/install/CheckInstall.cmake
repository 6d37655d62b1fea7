# Installs the build into a fresh prefix and checks that every installed file is there and
# says what the desktop and udev expect. Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

# Each further argument is a regular expression that one whole line of the file must match
# (CMake lists cannot hold a ";", so "." stands for it).
function(expect_file path)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
    file(READ ${PREFIX}/${path} content)
    foreach(expected IN LISTS ARGN)
        if(NOT "\n${content}" MATCHES "\n${expected}\n")
            message(FATAL_ERROR "${path} lacks a line: ${expected}")
        endif()
    endforeach()
endfunction()

expect_file(bin/corvane-display)
execute_process(COMMAND test -x ${PREFIX}/bin/corvane-display RESULT_VARIABLE executable)
if(NOT executable EQUAL 0)
    message(FATAL_ERROR "bin/corvane-display is not executable")
endif()
expect_file(share/applications/corvane-display.desktop
    "\\[Desktop Entry\\]" "Exec=corvane-display" "Icon=corvane-display" "NoDisplay=false"
    "Categories=Settings.HardwareSettings.")
expect_file(share/icons/hicolor/scalable/apps/corvane-display.svg)
expect_file(share/man/man1/corvane-display.1 "\\.TH CORVANE-DISPLAY 1 .*")
expect_file(share/dbus-1/interfaces/io.corvane.Display.xml
    "  <interface name=\"io.corvane.Display\">")
expect_file(share/metainfo/io.corvane.Display.metainfo.xml
    "  <id>io.corvane.Display</id>"
    "  <launchable type=\"desktop-id\">corvane-display.desktop</launchable>")
execute_process(COMMAND appstreamcli validate --no-net
    ${PREFIX}/share/metainfo/io.corvane.Display.metainfo.xml
    RESULT_VARIABLE valid OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT valid EQUAL 0)
    message(FATAL_ERROR "appstreamcli rejects the metainfo file:\n${report}")
endif()
expect_file(lib/udev/rules.d/60-corvane-display-i2c.rules)
expect_file(lib/modules-load.d/corvane-display.conf "i2c-dev")

file(READ ${PREFIX}/share/icons/hicolor/scalable/apps/corvane-display.svg icon)
if(NOT icon MATCHES "^<svg ")
    message(FATAL_ERROR "the icon is not an SVG image")
endif()
file(STRINGS ${PREFIX}/lib/udev/rules.d/60-corvane-display-i2c.rules rules REGEX "^[^#]")
if(NOT rules)
    message(FATAL_ERROR "the udev rules file has no rule")
endif()
foreach(rule IN LISTS rules)
    if(NOT rule MATCHES "SUBSYSTEM==\"i2c-dev\"" OR NOT rule MATCHES "TAG\\+=\"uaccess\"")
        message(FATAL_ERROR "a udev rule outside the i2c-dev nodes or without uaccess: ${rule}")
    endif()
endforeach()
