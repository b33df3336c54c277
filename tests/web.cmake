# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser build's tests: the suites built for Node and run under it (the
# build's emulator), with the same expectations as on Linux and Windows.

# Debian ships GoogleTest as source, to be built with the program's compiler;
# the browser build starts no threads.
set(BUILD_GMOCK OFF)
set(INSTALL_GTEST OFF)
set(gtest_disable_pthreads ON)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# node_test(NAME name TIMEOUT seconds SOURCES source... LIBRARIES library...)
# A GoogleTest executable for Node, run as one test: Node starts in a moment,
# but discovering the cases would run every executable at build time.
function(node_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TIMEOUT" "SOURCES;LIBRARIES")
    add_executable(${arg_NAME} ${arg_SOURCES})
    target_link_libraries(${arg_NAME} PRIVATE project_options ${arg_LIBRARIES} GTest::gtest_main)
    node_program(${arg_NAME})
    add_test(NAME ${arg_NAME} COMMAND ${arg_NAME})
    set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT ${arg_TIMEOUT} LABELS node)
endfunction()

# A program for Node rather than a page (also for tests/exhaustive): it reads
# its .wasm from a file, and the long texts of the suites may grow its memory.
function(node_program target)
    target_link_options(${target} PRIVATE -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1)
endfunction()

# The window suite runs in a page of headless Chromium, in a build of its own
# (see cmake/emscripten.cmake): the page, and nothing else, is made there.
if(PASSO_WEB_SUITE_PAGE)
    add_executable(window_test window_test.cpp web/window_driver.cpp web/chromium_driver.cpp)
    target_link_libraries(window_test PRIVATE project_options ui GTest::gtest_main)
    set(suite_page ${CMAKE_CURRENT_SOURCE_DIR}/web/suite_page.js)
    target_link_options(window_test PRIVATE -sENVIRONMENT=web -sASYNCIFY -sALLOW_MEMORY_GROWTH=1
        --pre-js ${suite_page})
    set_property(TARGET window_test APPEND PROPERTY LINK_DEPENDS ${suite_page})
    return()
endif()

node_test(NAME calc_test TIMEOUT 60 SOURCES calc_test.cpp LIBRARIES calc)
node_test(NAME conversions_test TIMEOUT 120 SOURCES conversions_test.cpp LIBRARIES runtime_core)
node_test(NAME layout_test TIMEOUT 60 SOURCES layout_test.cpp LIBRARIES ui)

# The round trip of the number format on an even 1/256 of all finite singles,
# under musl's conversions, on one thread (tests/exhaustive builds it for
# Node).
add_test(NAME exhaustive_round_trip COMMAND exhaustive_check --sample 256 --threads 1)
set_tests_properties(exhaustive_round_trip PROPERTIES TIMEOUT 600 LABELS node)

# The command suite on the browser backend's page, under Node, with jsdom as
# the page's document, and there too the page's start-up failure.
node_test(NAME command_test TIMEOUT 120 SOURCES command_test.cpp web/window_driver.cpp
    web/startup_test.cpp LIBRARIES ui)
set(jsdom_page ${CMAKE_CURRENT_SOURCE_DIR}/web/jsdom_page.js)
target_link_options(command_test PRIVATE --pre-js ${jsdom_page})
set_property(TARGET command_test APPEND PROPERTY LINK_DEPENDS ${jsdom_page})
set_property(TEST command_test APPEND PROPERTY ENVIRONMENT NODE_PATH=/usr/share/nodejs)

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

# The site as a visitor gets it: a phone, a reload with no network, requests
# only to its own origin, nothing in the console; screenshots in
# browser-artifacts.
add_test(NAME site_in_chromium COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/web/site_check.py
    ${site_and_artifacts})
set_tests_properties(site_in_chromium PROPERTIES TIMEOUT 300 LABELS browser)
