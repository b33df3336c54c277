# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
BENCH_DIR ?= build-bench
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASSO_WARNINGS_AS_ERRORS=ON

.PHONY: setup build build-sanitize run test format-check package bench clean

setup:
	@scripts/setup

build: setup
	$(CONFIGURE) -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

# The same program and tests under AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer.
build-sanitize: setup
	$(CONFIGURE) -B $(SANITIZE_DIR) -DPASSO_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR)

# Without a display, the program is shown at work on a virtual one and a
# screenshot is saved.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    $(BUILD_DIR)/app/passo-rigatura; \
	else \
	    scripts/run-headless $(BUILD_DIR)/app/passo-rigatura $(BUILD_DIR)/passo-rigatura-demo.png; \
	fi

test: build build-sanitize format-check
	ctest --test-dir $(BUILD_DIR) --output-on-failure
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-exclude e2e

format-check: setup
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

# A .deb that installs the program, its menu entry, icons and metainfo.
package: build
	cd $(BUILD_DIR) && cpack

# Speed, heap allocations and start-up, each as a ratio to a baseline measured
# in the same run; see docs/performance.md.
bench: setup
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPASSO_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR)
	bench/run.sh $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR)
