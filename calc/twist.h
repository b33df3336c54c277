// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace calc {

// One full turn of the rifling, in degrees.
inline constexpr float degreesPerTurn = 360.0f;

// The twist of a barrel: centimetres of barrel per full turn of the rifling,
// from the angle (degrees, any sign) through which the rifling turned over
// `distance` centimetres. Computed as (degreesPerTurn / degrees) * distance in
// double precision, in that order, and rounded once to single precision.
// Raises the floating-point run-time error on division by zero (degrees 0),
// an invalid operation (a NaN operand, or 0 x infinity), a result beyond the
// single range, or an infinite operand, which lies beyond that range too; a
// result too small for single precision is returned as a denormal or zero.
float computeTwist(float degrees, float distance);

} // namespace calc
