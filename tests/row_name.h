// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace rows {

// Names each row of a parameterised test after its `name` field.
struct RowName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row> &row) const {
        return row.param.name;
    }
};

// Prints a row as its name, rather than as a dump of its bytes. Test files
// bring it into the namespace of their rows with `using rows::PrintTo;`.
template <typename Row>
requires requires(const Row &row) {
    row.name;
}
void PrintTo(const Row &row, std::ostream *out) {
    *out << row.name;
}

} // namespace rows
