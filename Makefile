# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test

BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: setup build run test format-check package clean

setup:
	@scripts/setup

build: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DPASSO_WARNINGS_AS_ERRORS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/app/passo-rigatura

test: build format-check
	ctest --test-dir $(BUILD_DIR) --output-on-failure

format-check: setup
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

# A .deb that installs the program, its menu entry, icons and metainfo.
package: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
