# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# How the program is packed: the Debian package on Linux (make package), the
# installer and the portable .zip on Windows (make package-windows).

set(CPACK_PACKAGE_NAME passo-rigatura)
set(CPACK_PACKAGE_VENDOR "The passo-rigatura authors")
# The Debian package; scripts/build-package builds it with Debian's compiler
# flags and a fixed SOURCE_DATE_EPOCH, which CPack uses for every time stamp.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rifling twist calculator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Works out the rifling twist of a gun barrel, the centimetres of barrel for
one full turn of the rifling, from the degrees through which the rifling was
measured to turn over a measured number of centimetres.

The program is one small window in Italian: type the degrees and the
centimetres, with a comma or a point and an optional exponent, and press
CALCOLA. A text that is not a number, a value out of range or zero degrees
shows an error box with its number, and what was typed is kept.]])
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The passo-rigatura authors <maintainers@passorigatura.it>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The window's captions are sized for these fonts, and without Qt's platform
# plugins there is no window at all.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core, qt6-qpa-plugins")
# Qt's own texts (the fields' context menu, the error box's button) in
# Italian, and the window drawn natively on a Wayland desktop rather than
# through XWayland, or at all where XWayland is not running.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
if(NOT WIN32 AND NOT EMSCRIPTEN)
    # Stripping also drops the compiler's .comment section, as Debian's own
    # packages do.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:passo-rigatura>\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
endif()
# On Windows: an installer in Italian (NSIS) with a Start-menu shortcut and an
# entry in the installed programs, and a portable .zip holding only the
# program; make package-windows builds both.
if(WIN32)
    set(CPACK_GENERATOR NSIS)
    # Files go straight into the chosen folder, not into a usr folder there.
    unset(CPACK_PACKAGING_INSTALL_PREFIX)
    # Shown on the installer's licence page.
    set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
    # The installer and the .zip are this with .exe and .zip after it.
    set(windows_package ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME})
    set(CPACK_PACKAGE_INSTALL_DIRECTORY passo-rigatura)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY passo-rigatura)
    set(CPACK_PACKAGE_EXECUTABLES passo-rigatura "${PROJECT_DESCRIPTION}")
    set(CPACK_NSIS_PACKAGE_NAME "${PROJECT_DESCRIPTION}")
    set(CPACK_NSIS_DISPLAY_NAME "${PROJECT_DESCRIPTION}")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\passo-rigatura.exe")
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/passo-rigatura.ico)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/passo-rigatura.ico)
    # A 64-bit installer for a 64-bit program: its registry entries land
    # where Windows looks for a 64-bit program's. No file's time is stored in
    # the installer, which would make each build's bytes differ: the files
    # it installs are dated when they are installed.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode\nSetDateSave off")
    # CMake's own installer script, its list of languages cut to Italian.
    file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_script)
    string(REGEX REPLACE "(  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n)+"
        "  !insertmacro MUI_LANGUAGE \"Italian\"\n" nsis_script "${nsis_script}")
    file(WRITE ${PROJECT_BINARY_DIR}/nsis/NSIS.template.in "${nsis_script}")
    set(CPACK_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis)

    # The .zip's entry is dated SOURCE_DATE_EPOCH in UTC and owned by no one,
    # so that it too is the same bytes wherever it is built.
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(portable_program ${PROJECT_BINARY_DIR}/portable/$<TARGET_FILE_NAME:passo-rigatura>)
    add_custom_target(portable_zip
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/portable
        COMMAND ${CMAKE_STRIP} -o ${portable_program} $<TARGET_FILE:passo-rigatura>
        COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/reproducible_zip.py
                ${windows_package}.zip ${portable_program}
        DEPENDS passo-rigatura
        VERBATIM)
endif()
include(CPack)
