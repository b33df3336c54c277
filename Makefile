# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
BENCH_DIR ?= build-bench
FUZZ_DIR ?= build-fuzz
PACKAGE_DIR ?= build-package
DISTRIBUTION_DIR ?= build-distribution
RELEASE_DIR ?= build-release
WINDOWS_DIR ?= build-windows
WINDOWS_BENCH_DIR ?= build-bench-windows
WEB_DIR ?= build-web
FUZZ_SECONDS ?= 180
# CI checks every finite single; elsewhere make test checks an even 1/256 of
# them, and make exhaustive all of them.
EXHAUSTIVE_SAMPLE ?= $(if $(filter true,$(CI)),1,256)
CMAKE_FLAGS ?=
# Warnings stop the build where CI=true (CMake reads it); elsewhere a newer
# compiler's new warning never stops a user's build.
CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: setup setup-run setup-check setup-web setup-package setup-windows setup-release build build-program \
	build-sanitize build-fuzz fuzz exhaustive run test check format format-check package release \
	distribution-check bench bench-web clean windows build-windows package-windows web build-web test-web serve-web

setup:
	@scripts/setup test

setup-run:
	@scripts/setup run

setup-check:
	@scripts/setup check

# What each of make package, windows, web and release installs: only its own
# build's tools, never the tests'.
setup-package:
	@scripts/setup package

setup-windows:
	@scripts/setup windows

setup-release:
	@scripts/setup release

build: setup
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

# Only the program, for make run: no tests, nothing that needs the test tools.
build-program: setup-run
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) --target passo-rigatura

# The same program and tests under AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer, optimised as sanitizers are usually run, -O1, with the
# line tables their reports' stack traces need: a quarter less to build than
# the default's -O2 and full debugging information.
build-sanitize: setup
	$(CONFIGURE) -B $(SANITIZE_DIR) -DPASSO_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
	    $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR)

# The window opens natively on a Wayland desktop, or on the X display. Where
# neither answers (no display, or one left over from a closed session) the
# program says so and ends with status 1, and is then shown at work on a
# virtual display and a screenshot is saved.
run: build-program
	@$(BUILD_DIR)/app/passo-rigatura || { \
	    status=$$?; [ "$$status" -eq 1 ] || exit "$$status"; \
	    scripts/setup demo && \
	    scripts/run-headless $(BUILD_DIR)/app/passo-rigatura $(BUILD_DIR)/passo-rigatura-demo.png; \
	}

# Each build's tests run two at a time, and the release test alone: its two
# builds take both cores. The release test finds the site the browser tests
# check in PASSO_TESTED_SITE, which its released site must equal. The
# browser's tests, which spend much of their time waiting on the browser,
# run beside the Windows ones (waiting on Wine) and then the sanitizer
# build's, which report when all are done; the fuzzers run meanwhile at the
# lowest priority, on what those leave of the cores, and report last.
SIDE_TESTS = $(BUILD_DIR)/windows-and-sanitizer-tests.txt
test: build build-sanitize build-fuzz build-windows package-windows build-web format-check
	PASSO_TESTED_SITE=$(abspath $(WEB_DIR))/site ctest --test-dir $(BUILD_DIR) --output-on-failure \
	    --parallel 2
	nice -n 19 fuzz/run.sh 60 $(FUZZ_DIR) >$(FUZZ_DIR)/report.txt 2>&1 & fuzzers=$$!; \
	    { ctest --test-dir $(WINDOWS_DIR) --output-on-failure --parallel 2 && \
	      ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-exclude e2e --parallel 2; \
	    } >$(SIDE_TESTS) 2>&1 & side=$$!; \
	    ctest --test-dir $(WEB_DIR) --output-on-failure --parallel 2; status=$$?; \
	    wait $$side || status=1; cat $(SIDE_TESTS); \
	    wait $$fuzzers || status=1; cat $(FUZZ_DIR)/report.txt; exit $$status
	$(BUILD_DIR)/tests/exhaustive/exhaustive_check --sample $(EXHAUSTIVE_SAMPLE)

# The quick loop while changing the program: installs only what it needs,
# builds the Linux program and its suites and runs the unit and window
# suites, in about half a minute on a built tree. The tests are turned on
# here whatever make run left in the folder, and a run that finds no test
# fails.
check: setup-check
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)
	ctest --test-dir $(BUILD_DIR) --label-regex unit --no-tests=error --parallel 2 \
	    --output-on-failure

format-check: setup-check
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

# Every tracked C++ file formatted in place, as format-check expects it.
format: setup-check
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# The Debian source package, and the .deb built from it by dpkg-buildpackage,
# reproducibly; see scripts/build-package.
package: setup-package
	scripts/build-package $(PACKAGE_DIR)

# The source package built in a clean Debian 12 chroot, lintian on it, its
# autopkgtests and piuparts, each in a testbed of its own; see
# scripts/distribution-check. 12 minutes on 2 cores, up to 30 when they are
# busy, mostly spent installing packages from the mirror into the chroots;
# needs root. CI runs it after make test.
distribution-check:
	scripts/distribution-check $(DISTRIBUTION_DIR)

# Every file of a release, each built reproducibly, in $(RELEASE_DIR) beside
# their SHA256SUMS; see scripts/release, which lists them.
release: setup-release
	scripts/release $(RELEASE_DIR)

# Speed, heap allocations and start-up against baselines measured in the same
# run, the browser version's and the Windows program's among them: one table,
# each mark met, missed or undecided by its figure's 95 % interval. bench/run.py
# exits 0 when every mark is met, 1 when one is missed, 3 when one stays
# undecided, which make shows as "Error 1" or "Error 3"; see
# docs/performance.md.
LIGHTHOUSE = $(WEB_DIR)/lighthouse/node_modules/.bin/lighthouse
BENCH = /usr/bin/python3 bench/run.py --native $(BENCH_DIR) --windows $(WINDOWS_BENCH_DIR) \
	--site $(WEB_DIR)/site --lighthouse $(LIGHTHOUSE)
bench: setup web $(LIGHTHOUSE)
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPASSO_BENCH=ON \
	    -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR)
	cmake -S . -B $(WINDOWS_BENCH_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DPASSO_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS_BENCH_DIR)
	$(BENCH)

# The Windows program, cross-built with mingw-w64:
# $(WINDOWS_DIR)/app/passo-rigatura.exe, which needs only Windows' own DLLs.
# The folder is configured without the tests, which build-windows adds as
# build-web does for the browser's; every Windows target below builds in it
# one after the other, the tests last, so that make -j never runs two builds
# or a build and CPack there at once. CPack builds everything configured
# before it packs, so the installer waits for no test.
windows: setup-windows
	cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS_DIR) --target passo-rigatura

# The Windows installer (NSIS, in Italian) and the portable .zip holding only
# the program, both in $(WINDOWS_DIR).
package-windows: windows
	cd $(WINDOWS_DIR) && cpack
	cmake --build $(WINDOWS_DIR) --target portable_zip

# The Windows program and its tests; make test runs them under Wine
# (tests/wine/run), the installer's test among them.
build-windows: setup package-windows
	cmake $(WINDOWS_DIR) -DBUILD_TESTING=ON
	cmake --build $(WINDOWS_DIR)

# The browser version, built with Emscripten: the whole site, static files
# only, in $(WEB_DIR)/site.
web: setup-web
	cmake -S . -B $(WEB_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(WEB_DIR)

setup-web:
	@scripts/setup web

# make web's build with its tests added: the suites for Node and the page's
# check in Chromium.
build-web: setup web
	cmake $(WEB_DIR) -DBUILD_TESTING=ON
	cmake --build $(WEB_DIR)

# The browser version's tests alone; make test runs them too.
test-web: build-web
	ctest --test-dir $(WEB_DIR) --output-on-failure

# The site on 127.0.0.1, at the address it prints, until interrupted; PORT=0
# takes any free port.
PORT ?= 8000
serve-web: web
	scripts/serve-web --port $(PORT) $(WEB_DIR)/site

# The browser version's marks alone, Lighthouse installed from npm into the
# build folder; part of make bench.
bench-web: setup web $(LIGHTHOUSE)
	$(BENCH) --only web

$(LIGHTHOUSE):
	npm install --prefix $(WEB_DIR)/lighthouse --no-audit --no-fund lighthouse@12.8.2

# The fuzzers, built with clang, libFuzzer and the sanitizers.
build-fuzz: setup
	$(CONFIGURE) -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DPASSO_FUZZ=ON \
	    -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) --target fuzzers

# Each fuzzer for FUZZ_SECONDS seconds on the text <-> number conversions.
fuzz: build-fuzz
	fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_DIR)

# Every finite single through the window's text and back: about 9 minutes on
# 2 cores.
exhaustive: build
	$(BUILD_DIR)/tests/exhaustive/exhaustive_check

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) $(DISTRIBUTION_DIR) $(WINDOWS_DIR) $(WINDOWS_BENCH_DIR) $(RELEASE_DIR) $(WEB_DIR)
