// SPDX-License-Identifier: MIT
// Integer relations among high-precision numbers, found by lattice reduction (fplll's LLL).
#pragma once

#include "analysis/precise_arithmetic.h"

#include <optional>
#include <span>
#include <vector>

namespace analysis {

/// Integers c, not all 0, with c_0 v_0 + ... + c_(n-1) v_(n-1) = 0 to the values' precision P, and
/// every |c_i| at most maxCoefficient; nothing when there is none that small.
///
/// The values are scaled by 2^(P - kRelationMargin) and rounded to integers, LLL reduces the lattice
/// of the rows (e_i, scaled v_i), and a reduced row whose coefficients are within the bound is taken
/// when the relation also holds in the values themselves: |sum c_i v_i| at most
/// 2^-(P - kRelationMargin) sum |c_i v_i|. Both parts of complex values must vanish together.
///
/// Why such a relation is no accident: there are (2 maxCoefficient + 1)^n coefficient vectors, and a
/// random vector meets the test with a chance of about 2^-(P - kRelationMargin) per real part; with
/// P = 400, n at most 4 and maxCoefficient at most 10^12, the chance that any of them does is below
/// 2^-180. The exact values shown are moreover proved afterwards, at this precision and twice it.
[[nodiscard]] std::optional<std::vector<long>> findIntegerRelation(std::span<const PreciseComplex> values,
                                                                   long maxCoefficient);

/// Bits of the precision kept back from the scaling and the test, for the rounding of the values.
inline constexpr int kRelationMargin = 40;

} // namespace analysis
