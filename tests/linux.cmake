# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The Linux build's own tests: the window in-process on Qt's offscreen
# platform, the built program on a real X server and in a Wayland session,
# its command line, its install and its release.

find_package(Qt6 REQUIRED COMPONENTS Test)

# The window suites run in-process on Qt's offscreen platform.
add_library(window_driver STATIC qt/offscreen_test_main.cpp qt/window_driver.cpp)
target_link_libraries(window_driver PUBLIC project_options ui GTest::gtest Qt6::Widgets Qt6::Test)
add_library(qt_window_tests OBJECT qt/widgets_test.cpp)
target_link_libraries(qt_window_tests PRIVATE window_driver)
set(backend_window_tests qt_window_tests)

add_test(NAME windows_icon_is_32px_16_colours
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/assets/check_ico.py
            ${PROJECT_SOURCE_DIR}/assets/passo-rigatura.ico)

# The built program on a real X server, driven with xdotool and read back
# through AT-SPI as a screen reader would. Screenshots stay in e2e-artifacts.
add_test(NAME end_to_end
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/session.sh /usr/bin/python3
            ${CMAKE_CURRENT_SOURCE_DIR}/e2e/e2e_test.py
            --program $<TARGET_FILE:passo-rigatura>
            --artifacts ${CMAKE_CURRENT_BINARY_DIR}/e2e-artifacts
            --desktop-entry ${PROJECT_SOURCE_DIR}/assets/desktop/it.passorigatura.PassoRigatura.desktop)
set_tests_properties(end_to_end PROPERTIES LABELS e2e TIMEOUT 300)

# The same program in a Wayland session with no X server at all (Weston's
# headless backend), its output at scale 1 and 2: the window must open
# natively, and is filled in and read back through AT-SPI alone.
foreach(scale 1 2)
    add_test(NAME end_to_end_wayland_scale_${scale}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/session.sh --wayland ${scale} /usr/bin/python3
                ${CMAKE_CURRENT_SOURCE_DIR}/e2e/e2e_test.py --wayland-scale ${scale}
                --program $<TARGET_FILE:passo-rigatura>
                --artifacts ${CMAKE_CURRENT_BINARY_DIR}/e2e-wayland-${scale}-artifacts
                --desktop-entry ${PROJECT_SOURCE_DIR}/assets/desktop/it.passorigatura.PassoRigatura.desktop)
    set_tests_properties(end_to_end_wayland_scale_${scale} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()

# The same window on a screen of twice the density: same logical layout, the
# logo drawn from its sharper twin.
add_test(NAME window_test_at_double_density COMMAND window_test)
set_tests_properties(window_test_at_double_density PROPERTIES ENVIRONMENT QT_SCALE_FACTOR=2
    TIMEOUT 120 LABELS unit)

# The same window where the interface font is missing and only DejaVu is
# there: every caption must still be shown whole.
add_test(NAME window_test_with_only_dejavu COMMAND window_test)
set_tests_properties(window_test_with_only_dejavu PROPERTIES
    ENVIRONMENT FONTCONFIG_FILE=${CMAKE_CURRENT_SOURCE_DIR}/qt/dejavu-only.conf TIMEOUT 120
    LABELS unit)

# The built program's answers on the command line, with no display too, and
# a start whose window cannot be built.
suite(NAME startup_test TIMEOUT 60 SOURCES qt/startup_test.cpp LIBRARIES ui GTest::gtest_main)
add_test(NAME command_line
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/command_line_test.py
            $<TARGET_FILE:passo-rigatura>)
set_tests_properties(command_line PROPERTIES TIMEOUT 120)

# The verdicts make bench gives its marks, on samples whose answer is known.
add_test(NAME bench_verdicts COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/bench_verdict_test.py)
set_tests_properties(bench_verdicts PROPERTIES TIMEOUT 60 LABELS unit)

# Qt's own texts in the user's language. The rows that take the locale from
# the environment run one at a time, each under its own.
add_executable(translations_test qt/translations_test.cpp)
target_link_libraries(translations_test PRIVATE window_driver)
gtest_discover_tests(translations_test TEST_FILTER -Environment/* TEST_PREFIX translations_test.
    DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60 LABELS unit)
add_test(NAME qt_texts_under_italian_locale
    COMMAND translations_test --gtest_filter=Environment/SystemLocale.*/Italian)
set_tests_properties(qt_texts_under_italian_locale PROPERTIES
    ENVIRONMENT "LC_ALL=it_IT.UTF-8;LANGUAGE=it_IT:it" TIMEOUT 60 LABELS unit)
add_test(NAME qt_texts_under_c_locale
    COMMAND translations_test --gtest_filter=Environment/SystemLocale.*/C)
set_tests_properties(qt_texts_under_c_locale PROPERTIES ENVIRONMENT "LC_ALL=C;LANGUAGE=" TIMEOUT 60
    LABELS unit)

# The release as a distribution takes it: every file's licence declared, the
# .deb, the Windows installer, the .zip and the source tarball built to the
# same bytes twice (two builds of each, side by side on both cores), a
# source package and packages that lintian accepts, and the tarball built
# and installed as other distributions' packagers do. Not repeated in the
# sanitizer build, whose code they do not run.
if(NOT PASSO_SANITIZE)
    add_test(NAME licences_declared COMMAND reuse --root ${PROJECT_SOURCE_DIR} lint)
    set_tests_properties(licences_declared PROPERTIES TIMEOUT 120)
    add_test(NAME package_reproducible_and_lintian_clean
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package_test.sh ${PROJECT_SOURCE_DIR})
    # Its two builds take both cores: nothing runs beside it. It starts
    # first, so that the other tests, the next build among them, share the
    # cores after it.
    set_tests_properties(package_reproducible_and_lintian_clean PROPERTIES LABELS package
        TIMEOUT 900 PROCESSORS 2 COST 1000)
    # A build of the program alone, about 40 s of one core: it starts next,
    # on both cores, beside the tests that mostly wait on a display.
    add_test(NAME source_tarball_standard_install
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/standard_install_test.sh ${PROJECT_SOURCE_DIR})
    set_tests_properties(source_tarball_standard_install PROPERTIES LABELS package TIMEOUT 600
        COST 500 ENVIRONMENT CMAKE_BUILD_PARALLEL_LEVEL=2)
endif()
