// SPDX-License-Identifier: MIT
// Constant folding: one step per call, the first applicable check at the leftmost constant wins.
#pragma once

#include "engine/complex_value.h"
#include "engine/error_codes.h"
#include "engine/piece_string.h"
#include "engine/solve_details.h"
#include "engine/token_table.h"

#include <array>

namespace engine {

/// Result codes of `EvaluateConstants`; a failure ends the solve with its own ERROR (`foldingError`).
enum class EvaluationResult : int {
    Unchanged = 0,      // nothing could be folded
    Folded = 1,         // exactly one folding step was made
    Overflow = 2,       // a part beyond 10^18, or an exponential overflowed
    DivisionByZero = 3, // division by 0 (also an exact pole of tan or htn)
    LogOfZero = 4,      // log of 0 (also a failing inner logarithm of acs, ahc, ahs, asn)
    LgtOfZero = 5,      // lgt of 0
    AtnOfI = 6,         // atn of sqr(-1) or -sqr(-1)
    AhtOfOne = 7,       // aht of 1 or -1
    PoolFull = 9,       // all 117 codes 0x8B-0xFF in use (ERROR 34)
};

/// Whether result is one of the arithmetic failures Overflow to AhtOfOne.
[[nodiscard]] bool isArithmeticFailure(EvaluationResult result);

/// The ERROR a failed fold ends the solve with; ErrorCode::None for Unchanged and Folded.
[[nodiscard]] ErrorCode foldingError(EvaluationResult result);

/// What one fold did, for a caller that explains its steps: the check that applied (one of the
/// Fold actions) and, for the checks on every constant, the operation or the constant as up to five
/// pieces, in which the tokens kFoldFirstValue and kFoldSecondValue stand for values[0] and values[1]
/// and the other constant tokens for the presets.
struct FoldRecord {
    StepAction action = StepAction::FoldOperation;
    std::array<unsigned char, 6> pieces{}; ///< NUL-terminated; empty for the checks of 0 and 1
    std::array<Complex, 2> values{};
};
inline constexpr unsigned char kFoldFirstValue = kFirstFreeCode;
inline constexpr unsigned char kFoldSecondValue = kFirstFreeCode + 1;

/// Folds one constant sub-expression of pieces in place, walking the constants from the left and
/// applying the first check that fits (the value 0, the value 1, signs, sums, products, powers,
/// functions). levels must be current for pieces; they are stale after a fold. New values go into
/// pool. After a failure the equation is not solved further. record, when given, tells what a
/// fold did.
[[nodiscard]] EvaluationResult EvaluateConstants(PieceString& pieces, const LevelString& levels,
                                                 ConstantPool& pool, FoldRecord* record = nullptr);

/// The value of the function with the given token at v, computed by that function's fixed sequence
/// of complex primitives. Folded with the value in u, or the failure the function meets.
[[nodiscard]] EvaluationResult functionValue(unsigned char token, Complex v, Complex& u);

} // namespace engine
