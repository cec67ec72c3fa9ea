// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes through what judges an answer: the precise evaluation at a value taken from
// the input, the result check of the derivation, the search for all solutions and their exact values,
// and checks what must hold of them.
#include "analysis/all_solutions.h"
#include "analysis/exact_value.h"
#include "analysis/precise_arithmetic.h"
#include "analysis/precise_expression.h"
#include "analysis/principal_values.h"
#include "analysis/result_check.h"
#include "engine/equation_solver.h"
#include "engine/solve_details.h"

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

/// The same side at two precisions lies within the error bounds each reports: a bound that is too
/// small would let the check verify what is no solution.
void expectBoundsHold(const analysis::ExpressionProgram& side, engine::Complex x)
{
    const analysis::PreciseEvaluator evaluator(side);
    const analysis::LetterValues letters = analysis::letterValues(0);
    const analysis::PreciseResult low =
        evaluator.evaluate(analysis::PreciseComplex(x, 128), 0.0, letters, true);
    const analysis::PreciseResult high =
        evaluator.evaluate(analysis::PreciseComplex(x, 256), 0.0, letters, true);
    if (low.outcome != high.outcome && low.outcome != analysis::EvaluationOutcome::Overflow &&
        high.outcome != analysis::EvaluationOutcome::Overflow)
        std::abort();
    if (low.outcome != analysis::EvaluationOutcome::Defined ||
        high.outcome != analysis::EvaluationOutcome::Defined)
        return;
    if (!(low.bound >= 0.0) || !(high.bound >= 0.0))
        std::abort();
    const double allowed = analysis::kAgreementSlack * (low.bound + high.bound);
    if (std::isfinite(allowed) && (low.value - high.value).magnitude() > allowed)
        std::abort();
}

/// An exact value shown must be the value it stands beside: its text, read on its own and evaluated
/// in long double with principal values, agrees with the decimal (beyond that evaluation's rounding).
void expectExactAgrees(const analysis::ExactValue& exact, engine::Complex decimal)
{
    if (!exact.isFound())
        return;
    analysis::Equation form;
    if (!form.load(analysis::evaluableEquation(exact.text)))
        std::abort();
    const auto value = analysis::principalValue<long double>(form.right(), std::complex<long double>{},
                                                             analysis::LetterValues{});
    const std::complex<long double> expected(decimal.re, decimal.im);
    if (value.outcome != analysis::EvaluationOutcome::Defined ||
        std::abs(value.value - expected) >
            1e-12L * std::abs(expected) + 64.0L * std::numeric_limits<long double>::epsilon() * value.scale)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 16 || size > 216)
        return 0;
    // The first 16 bytes are a value of x, the rest the equation as typed.
    double parts[2];
    std::memcpy(parts, data, sizeof parts);
    const engine::Complex x{std::isfinite(parts[0]) ? std::fmod(parts[0], 1e6) : 0.5,
                            std::isfinite(parts[1]) ? std::fmod(parts[1], 1e6) : 0.0};
    const std::string text = engine::EquationSolver::StripEquation(
        std::string(reinterpret_cast<const char*>(data) + 16, size - 16));

    analysis::Equation equation;
    if (!equation.load(text))
        return 0;
    expectBoundsHold(equation.left(), x);
    expectBoundsHold(equation.right(), x);

    static auto solver = std::make_unique<engine::EquationSolver>();
    engine::SolveDetails details;
    static_cast<void>(solver->Solve(text, details));
    const analysis::CheckResult check = analysis::checkSolve(text, details);

    // The search takes milliseconds: only for short equations, so the fuzzer keeps its pace. Every
    // solution it lists verifies again, and so does the base of every family.
    if (text.size() > 60)
        return 0;
    const analysis::AllSolutions found = analysis::findAllSolutions(text);
    if (found.solutions.size() > 12)
        std::abort();
    for (const analysis::Solution& solution : found.solutions)
        if (analysis::checkValue(equation, solution.value).verdict != analysis::CheckVerdict::Verified)
            std::abort();
    for (const analysis::SolutionFamily& family : found.families)
        if (analysis::checkValue(equation, family.base).verdict != analysis::CheckVerdict::Verified)
            std::abort();

    // Every exact value agrees with its decimal.
    const analysis::ExactValues exact = analysis::findExactValues(text, check, found);
    expectExactAgrees(exact.finalValue, check.value);
    for (std::size_t i = 0; i < found.solutions.size() && i < exact.solutions.size(); ++i)
        expectExactAgrees(exact.solutions[i], found.solutions[i].value);
    return 0;
}
