// SPDX-License-Identifier: MIT
// Folds a long constant expression down to one constant, one EvaluateConstants call at a time.
#include "engine/constant_folding.h"
#include "engine/pieces.h"
#include "engine/solver_buffers.h"
#include "engine/transformations.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string_view>

namespace {

using engine::EvaluationResult;
using engine::SolverBuffers;

// About sixty operations: sums, products, quotients, powers, parentheses, functions, signs.
// Its value is 48.25.
constexpr std::string_view kExpression =
    "x=2*3+4*5-6/3+2^3-7*8+9/3-5^2+3*3*3-8/4+6*7-2^5+9*9-1/4+3^3-4*4*2+7/2-6^2+5*5-8*3+2^6/4"
    "-3*7+(2+3)*(4-1)-sqr(16)*2+log(1)+exp(0)*3-(6-2)^2/8+1.5*4-2.5/5+sin(0)+cos(0)*7-9^0.5+10/4";

/// The driver's preparation of each call: levels recomputed and signs simplified until stable.
void normalise(SolverBuffers& buffers)
{
    do {
        if (!engine::ComputeLevels(buffers.pieces, buffers.levels))
            return;
    } while (engine::SimplifySigns(buffers.pieces, buffers.levels));
}

void foldLongConstantExpression(benchmark::State& state)
{
    auto buffers = std::make_unique<SolverBuffers>();
    int calls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (engine::loadEquation(*buffers, kExpression) != engine::ErrorCode::None) {
            state.SkipWithError("the expression was not accepted");
            break;
        }
        state.ResumeTiming();
        calls = 0;
        EvaluationResult result = EvaluationResult::Folded;
        while (result == EvaluationResult::Folded) {
            normalise(*buffers);
            SolverBuffers& s = *buffers;
            result = engine::EvaluateConstants(s.pieces, s.levels, s.pool);
            ++calls;
        }
        benchmark::DoNotOptimize(buffers->pieces.data());
        const engine::Complex value = buffers->pool.value(buffers->pieces[2]);
        if (result != EvaluationResult::Unchanged || buffers->pieces.length() != 3 ||
            std::fabs(value.re - 48.25) > 1e-9 || value.im != 0.0) {
            state.SkipWithError("the expression did not fold to the constant 48.25");
            break;
        }
    }
    state.counters["calls"] = calls;
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(foldLongConstantExpression)->Unit(benchmark::kMicrosecond);
