// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// What one press of CALCOLA costs once both measurements are typed: reading
// the two fields, converting, computing, formatting and writing the result,
// on Form1 and on a hand-written Qt window doing the same job the plainest way.
#include "bench/alloc_counter.h"
#include "bench/bare_window.h"
#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "runtime/qt/native_form.h"
#include "ui/calculate.h"
#include "ui/form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

template <typename Widget> Widget *child(const runtime::Form &form, const char *name) {
    return form.native().window->findChild<Widget *>(QLatin1String(name));
}

struct Windows {
    runtime::Form form{ui::form1};
    QPushButton *calcola = child<QPushButton>(form, "cmdcalcola");
    QLineEdit *gradi = child<QLineEdit>(form, "gradi1");
    QLineEdit *centimetri = child<QLineEdit>(form, "centimetri2");
    QLabel *risultato = child<QLabel>(form, "centimetri1");
    bench::BareWindow bare;
};

Windows *g_windows = nullptr;
bool g_errorRaised = false;

const QString seven = QStringLiteral("7");
const QString threeSixtyFive = QStringLiteral("365");
const QString thirteen = QStringLiteral("13");

// The event loop runs between a user's clicks; let it catch up now and then,
// off the clock, so that queued repaints and layout requests do not pile up.
constexpr int clicksBetweenEventLoops = 128;

template <typename Click> void timeClicks(benchmark::State &state, Click click) {
    click();
    QApplication::processEvents();
    state.counters["heap"] = bench::allocationsPerCall(click, 200);
    state.counters["new"] = bench::allocationsPerCall(click, 200, true);
    int sinceEventLoop = 0;
    for (auto _ : state) {
        click();
        if (++sinceEventLoop == clicksBetweenEventLoops) {
            state.PauseTiming();
            QApplication::processEvents();
            sinceEventLoop = 0;
            state.ResumeTiming();
        }
    }
    if (g_errorRaised)
        state.SkipWithError("the command reported a run-time error");
}

void typeInputs() {
    Windows &w = *g_windows;
    for (QLineEdit *field : {w.gradi, w.bare.degrees})
        field->setText(seven);
    for (QLineEdit *field : {w.centimetri, w.bare.distance})
        field->setText(thirteen);
}

// Alternates between two degree values so that every click changes the
// result, as it does when the user types something new between clicks.
template <typename Field> auto alternating(Field *field) {
    return [field, flip = false]() mutable {
        flip = !flip;
        field->setText(flip ? threeSixtyFive : seven);
    };
}

// FIGURE/ours/CASE for Form1 and FIGURE/baseline/CASE for the bare window;
// bench/run.py holds ours to under 20 us a click.
void registerAll() {
    const auto add = [](const char *name, auto click) {
        benchmark::RegisterBenchmark(name, [click](benchmark::State &state) {
            typeInputs();
            timeClicks(state, click);
        })->Unit(benchmark::kMicrosecond);
    };
    add("click/ours/same-inputs", [] { g_windows->calcola->click(); });
    add("click/baseline/same-inputs", [] { g_windows->bare.button->click(); });
    add("runCommand/ours/same-inputs", [] { runtime::runCommand(ui::calculate, g_windows->form); });
    add("type-and-click/ours/new-result", [type = alternating(g_windows->gradi)]() mutable {
        type();
        g_windows->calcola->click();
    });
    add("type-and-click/baseline/new-result",
        [type = alternating(g_windows->bare.degrees)]() mutable {
            type();
            g_windows->bare.button->click();
        });
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    runtime::ScopedErrorReporter reporter(
        [](runtime::Form &, const runtime::RuntimeError &) { g_errorRaised = true; });
    auto windows = std::make_unique<Windows>();
    g_windows = windows.get();
    windows->form.show();
    windows->bare.window.show();
    QApplication::processEvents();

    typeInputs();
    windows->calcola->click();
    windows->bare.button->click();
    std::printf("Form1 shows \"%s\", the bare window \"%s\" for 7 degrees over 13 cm\n",
                qPrintable(windows->risultato->text()), qPrintable(windows->bare.result->text()));

    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_windows = nullptr;
    return g_errorRaised ? 1 : 0;
}
