// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <utility>

namespace bench {

// What Form1 would cost written the plainest way with Qt: the same nine kinds
// of control at the same places in a 347x295 window, default fonts, no logo
// picture, no icon, and a click handler using QString::toFloat and
// QString::number. Both the click and the start-up benchmarks measure Form1
// against it.
struct BareWindow {
    QWidget window;
    QLineEdit *degrees;
    QLineEdit *distance;
    QPushButton *button;
    QLabel *result;

    BareWindow() {
        window.setWindowTitle(QStringLiteral("Calcolo passo della rigatura"));
        window.setFixedSize(347, 295);
        (new QLabel(&window))->setGeometry(8, 8, 217, 97);
        distance = new QLineEdit(&window);
        distance->setGeometry(16, 176, 121, 25);
        degrees = new QLineEdit(&window);
        degrees->setGeometry(16, 136, 121, 25);
        button = new QPushButton(QStringLiteral("CALCOLA"), &window);
        button->setGeometry(240, 240, 73, 41);
        const std::array<std::pair<const char *, QRect>, 4> captions{{
            {"cm. / giro", {144, 264, 57, 17}},
            {"Il passo di rigatura della canna è di", {16, 232, 185, 17}},
            {"SPAZIO MISURATO in centimetri", {152, 184, 185, 17}},
            {"GRADI MISURATI", {152, 144, 97, 17}},
        }};
        for (const auto &[text, geometry] : captions)
            (new QLabel(QString::fromUtf8(text), &window))->setGeometry(geometry);
        result = new QLabel(&window);
        result->setGeometry(24, 256, 113, 25);
        QObject::connect(button, &QPushButton::clicked, &window, [this] {
            const float d = degrees->text().toFloat();
            const float s = distance->text().toFloat();
            result->setText(QString::number(static_cast<float>(360.0 / d * s), 'g', 7));
        });
    }
};

} // namespace bench
