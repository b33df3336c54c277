# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build's tests, each run under Wine on a screen of its own by
# tests/wine/run (the build's emulator). Starting Wine costs seconds, so each
# GoogleTest executable is one test, not one test per case.

# Debian ships GoogleTest as source, to be built with the program's compiler.
set(BUILD_GMOCK OFF)
set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(wine_run ${CMAKE_CURRENT_SOURCE_DIR}/wine/run)

# windows_test(NAME name TIMEOUT seconds [LABELS label...] COMMAND command...)
# Every Windows test shares the build's template Wine prefix, made by the
# first one that needs it.
function(windows_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TIMEOUT" "LABELS;COMMAND")
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
    set(labels windows ${arg_LABELS})
    set_tests_properties(${arg_NAME} PROPERTIES
        TIMEOUT ${arg_TIMEOUT}
        LABELS "${labels}"
        ENVIRONMENT PASSO_WINE_TEMPLATE=${PROJECT_BINARY_DIR}/wine-template)
endfunction()

add_executable(calc_test calc_test.cpp)
target_link_libraries(calc_test PRIVATE project_options calc GTest::gtest_main)
windows_test(NAME calc_test TIMEOUT 120 COMMAND calc_test)

add_executable(conversions_test conversions_test.cpp)
target_link_libraries(conversions_test PRIVATE project_options runtime_core GTest::gtest_main)
windows_test(NAME conversions_test TIMEOUT 120 COMMAND conversions_test)

add_executable(layout_test layout_test.cpp)
target_link_libraries(layout_test PRIVATE project_options ui GTest::gtest_main)
windows_test(NAME layout_test TIMEOUT 120 COMMAND layout_test)

# The window driver reaches real Win32 controls, for the command suite and
# the window suite alike; it reads names as screen readers do, through
# Microsoft Active Accessibility (uuid before oleacc: the latter names
# IID_IAccessible only as a DLL export).
add_library(window_driver STATIC win32/window_driver.cpp)
target_link_libraries(window_driver PUBLIC project_options ui GTest::gtest
    PRIVATE uuid oleacc ole32 oleaut32)

add_executable(command_test command_test.cpp)
target_link_libraries(command_test PRIVATE window_driver GTest::gtest_main)
windows_test(NAME command_test TIMEOUT 240 COMMAND command_test)

# The window suite every backend runs, and what only the Win32 window has,
# at 96 and at 144 dpi. It carries the program's resources: the manifest
# (screen density, control look), icon and pictures.
add_executable(window_test window_test.cpp win32/win32_window_test.cpp)
target_link_libraries(window_test PRIVATE window_driver program_resources GTest::gtest_main)
windows_test(NAME window_test TIMEOUT 300 COMMAND window_test)
windows_test(NAME window_test_at_144_dpi TIMEOUT 300 COMMAND window_test)
set_property(TEST window_test_at_144_dpi APPEND PROPERTY ENVIRONMENT WINE_DPI=144)

# The round trip of the number format on an even 1/256 of all finite singles,
# under Windows' C library.
windows_test(NAME exhaustive_round_trip TIMEOUT 600
    COMMAND exhaustive_check --sample 256)

# Reads the program's window from outside, as the end-to-end tests need: its
# controls, or an error box in front of it.
add_executable(probe win32/probe.cpp ${PROJECT_SOURCE_DIR}/runtime/win32/wide_text.cpp)
target_link_libraries(probe PRIVATE project_options)

# The built program driven with real key presses and clicks under Wine, read
# back with the probe. Screenshots stay in wine-e2e-artifacts.
windows_test(NAME windows_end_to_end TIMEOUT 300 LABELS e2e
    COMMAND ${wine_run} /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/wine/e2e_test.py
            --program $<TARGET_FILE:passo-rigatura> --probe $<TARGET_FILE:probe>
            --artifacts ${CMAKE_CURRENT_BINARY_DIR}/wine-e2e-artifacts)

# The installer (make package-windows builds it) installed silently, the
# installed program used, and everything removed again by its uninstaller.
windows_test(NAME windows_installer TIMEOUT 600 LABELS e2e
    COMMAND ${wine_run} /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/wine/installer_test.py
            --installer ${windows_package}.exe
            --probe $<TARGET_FILE:probe>
            --artifacts ${CMAKE_CURRENT_BINARY_DIR}/wine-installer-artifacts)
