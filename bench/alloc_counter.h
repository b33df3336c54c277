// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// Heap blocks handed out since the process started. `total` counts every
// malloc, calloc and realloc, whoever calls them (Qt's strings come straight
// from malloc); `viaNew` counts the subset that came through operator new.
struct AllocationCounts {
    std::uint64_t total;
    std::uint64_t viaNew;
};

AllocationCounts allocationCounts() noexcept;

// The blocks allocated while `work` runs, divided by `calls`.
template <typename Work>
double allocationsPerCall(Work &&work, int calls, bool viaNewOnly = false) {
    const AllocationCounts before = allocationCounts();
    for (int i = 0; i < calls; ++i)
        work();
    const AllocationCounts after = allocationCounts();
    const std::uint64_t blocks =
        viaNewOnly ? after.viaNew - before.viaNew : after.total - before.total;
    return static_cast<double>(blocks) / calls;
}

} // namespace bench
