# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build's own tests, each run under Wine on a screen of its own
# by tests/wine/run (the build's emulator).

set(wine_run ${CMAKE_CURRENT_SOURCE_DIR}/wine/run)

# The window driver reaches real Win32 controls, for the command suite and
# the window suite alike; it reads names as screen readers do, through
# Microsoft Active Accessibility (uuid before oleacc: the latter names
# IID_IAccessible only as a DLL export).
add_library(window_driver STATIC win32/window_driver.cpp)
target_link_libraries(window_driver PUBLIC project_options ui GTest::gtest_main
    PRIVATE uuid oleacc ole32 oleaut32)
# What only the Win32 window has, with the program's resources: the manifest
# (screen density, control look), icon and pictures.
add_library(win32_window_tests OBJECT win32/win32_window_test.cpp)
target_link_libraries(win32_window_tests PRIVATE window_driver)
set(backend_window_tests win32_window_tests program_resources version)

# The window suite at 144 dpi as well.
platform_test(NAME window_test_at_144_dpi TIMEOUT 300 COMMAND window_test)
set_property(TEST window_test_at_144_dpi APPEND PROPERTY ENVIRONMENT WINE_DPI=144)

# Reads the program's window from outside, as the end-to-end tests need: its
# controls, or an error box in front of it.
add_executable(probe win32/probe.cpp ${PROJECT_SOURCE_DIR}/runtime/win32/wide_text.cpp)
target_link_libraries(probe PRIVATE project_options)

# The built program driven with real key presses and clicks under Wine, read
# back with the probe. Screenshots stay in wine-e2e-artifacts.
platform_test(NAME windows_end_to_end TIMEOUT 300 LABELS e2e
    COMMAND ${wine_run} /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/wine/e2e_test.py
            --program $<TARGET_FILE:passo-rigatura> --probe $<TARGET_FILE:probe>
            --artifacts ${CMAKE_CURRENT_BINARY_DIR}/wine-e2e-artifacts)

# The installer (make package-windows builds it) installed silently, the
# installed program used, and everything removed again by its uninstaller.
platform_test(NAME windows_installer TIMEOUT 600 LABELS e2e
    COMMAND ${wine_run} /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/wine/installer_test.py
            --installer ${windows_package}.exe
            --probe $<TARGET_FILE:probe>
            --artifacts ${CMAKE_CURRENT_BINARY_DIR}/wine-installer-artifacts)
