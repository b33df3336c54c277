// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Our program exactly as app/main.cpp starts it; linked with
// first_frame_exit.cpp, it ends as soon as Form1's first frame is on screen.
#include "runtime/application.h"
#include "ui/form1.h"

int main(int argc, char **argv) {
    return runtime::run(argc, argv, ui::application);
}
