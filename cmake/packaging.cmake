# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# How the Windows program is packed: the installer and the portable .zip
# (make package-windows). The Debian package is built from debian/ by
# dpkg-buildpackage (make package).

set(CPACK_PACKAGE_NAME passo-rigatura)
set(CPACK_PACKAGE_VENDOR "The passo-rigatura authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rifling twist calculator")
# On Windows: an installer in Italian (NSIS) with a Start-menu shortcut and an
# entry in the installed programs, and a portable .zip holding only the
# program; make package-windows builds both.
if(WIN32)
    set(CPACK_GENERATOR NSIS)
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
    include(CPack)
endif()
