// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up baseline: a Qt Widgets program showing the plain counterpart
// of Form1. Linked with first_frame_exit.cpp, it ends on its first frame, as
// the probe copy of our program does.
#include "bench/bare_window.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    bench::BareWindow bare;
    bare.window.show();
    return QApplication::exec();
}
