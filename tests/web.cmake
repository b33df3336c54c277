# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser build's own tests: the suites run under Node (the build's
# emulator), with jsdom as the command suite's page, and the window suite and
# the site in headless Chromium.

# The window driver, in the part any page has and, in the window suite's own
# build, the part that asks Chromium for real keys, the accessibility tree and
# the fonts drawn.
# Both are page scripts run before the program; every suite is linked again
# when they change.
if(PASSO_WEB_SUITE_PAGE)
    set(page_script ${CMAKE_CURRENT_SOURCE_DIR}/web/suite_page.js)
    add_library(window_driver STATIC web/window_driver.cpp web/chromium_driver.cpp)
    target_link_options(window_driver INTERFACE ${PASSO_QUICK_LINK} -sENVIRONMENT=web -sASYNCIFY
        -sALLOW_MEMORY_GROWTH=1 --pre-js ${page_script})
else()
    set(page_script ${CMAKE_CURRENT_SOURCE_DIR}/web/jsdom_page.js)
    add_library(window_driver STATIC web/window_driver.cpp)
    target_link_options(window_driver INTERFACE --pre-js ${page_script})
    # The command suite, the one suite on jsdom's page, checks there too
    # what the page says when its window cannot be built.
    target_sources(window_driver INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/web/startup_test.cpp)
endif()
target_link_libraries(window_driver PUBLIC project_options ui GTest::gtest_main)
set(backend_window_tests)

# Every suite, made after this file, is linked again when the page script
# changes.
function(relink_on_page_script)
    get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
    set_property(TARGET ${targets} APPEND PROPERTY LINK_DEPENDS ${page_script})
endfunction()
cmake_language(DEFER CALL relink_on_page_script)
# The window suite's own build makes its page and nothing else.
if(PASSO_WEB_SUITE_PAGE)
    return()
endif()

# The window suite's page, built apart and served to Chromium by
# suite_server.py, which stands for the user's keyboard and the screen reader
# (real key events, the accessibility tree), at density 1 and 2.
include(ExternalProject)
set(suite_build ${PROJECT_BINARY_DIR}/window-suite)
ExternalProject_Add(window_suite_page
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${suite_build}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               -DBUILD_TESTING=ON -DPASSO_WEB_SUITE_PAGE=ON
               -DPASSO_WARNINGS_AS_ERRORS=${PASSO_WARNINGS_AS_ERRORS}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${suite_build} --target window_test
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

set(site_and_artifacts --site ${PROJECT_BINARY_DIR}/site
    --artifacts ${CMAKE_CURRENT_BINARY_DIR}/browser-artifacts)
foreach(density 1 2)
    set(name window_test_at_density_${density})
    add_test(NAME ${name} COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/web/suite_server.py
        ${site_and_artifacts} --density ${density} --suite ${suite_build}/tests/window_test.js)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS browser)
endforeach()

# The site as a visitor gets it: phones and desktops, before the program has
# loaded and after, a reload with no network, requests only to its own
# origin, nothing in the console; screenshots in browser-artifacts.
add_test(NAME site_in_chromium COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/web/site_check.py
    ${site_and_artifacts})
# The longest of this build's tests: it starts first.
set_tests_properties(site_in_chromium PROPERTIES TIMEOUT 420 LABELS browser COST 1000)
