# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser version with Debian's Emscripten, and runs what the
# build makes for Node (the tests) under Node.
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake

# Emscripten's output calls fetch() on the path of its .wasm file, which
# Node's own fetch refuses; without it, the output reads the file instead.
find_program(NODE_EXECUTABLE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE_EXECUTABLE} --no-experimental-fetch)

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# emcc's link step runs its JavaScript optimiser under Node, which finds the
# parser it needs (Debian's node-acorn) only in Debian's own module folder.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
