// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "ui/form1.h"

#include "tests/window_driver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// Form1 shown and active; run-time errors are recorded instead of shown,
// unless a test asks for the real box.
class Form1Window : public testing::Test {
protected:
    Form1Window() { driver::show(form); }

    std::string shown(std::string_view control) { return driver::text(form, control); }
    void enter(const std::string &degrees, const std::string &distance) {
        driver::type(form, ui::gradi1, degrees);
        driver::type(form, ui::centimetri2, distance);
    }
    void clickCalcola() { driver::click(form, "cmdcalcola"); }

    // What every control shows, by name.
    std::map<std::string, std::string> everything() {
        std::map<std::string, std::string> all;
        for (const runtime::ControlSpec &row : ui::form1.controls)
            if (row.kind != runtime::ControlKind::pictureBox)
                all[std::string(row.name)] = shown(row.name);
        return all;
    }

    std::vector<int> errors;
    runtime::ScopedErrorReporter recorder{
        [this](runtime::Form &, const runtime::RuntimeError &error) {
            errors.push_back(error.number());
        }};
    runtime::Form form{ui::form1};
};
