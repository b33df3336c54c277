// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"
#include "ui/form1.h"

int main(int argc, char **argv) {
    return runtime::run(argc, argv, ui::application);
}
