// SPDX-License-Identifier: MIT
// Validation, tokenising and the first line of a 255-character equation.
#include "engine/formatting.h"
#include "engine/solver_buffers.h"
#include "engine/validation.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::string longEquation()
{
    std::string text = "x=sin(1.5)";
    const char* const terms[] = {"+2.75*x", "-lgt(x+3)", "*sqr(4.5)", "/exp(x)", "+(x-1)^2"};
    for (int i = 0; text.size() < 255; ++i) {
        const std::string term = terms[i % 5];
        if (text.size() + term.size() > 255)
            break;
        text += term;
    }
    while (text.size() + 2 <= 255)
        text += "+1";
    if (text.size() < 255)
        text += "1"; // the last 1 becomes 11
    return text;
}

void validateTokeniseFirstLine(benchmark::State& state)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    const std::string text = longEquation();
    if (text.size() != 255 || engine::Validate(text).code != engine::ErrorCode::None) {
        state.SkipWithError("benchmark equation is not a valid 255-character equation");
        return;
    }
    for (auto _ : state) {
        buffers->outputLineCounter = 0;
        benchmark::DoNotOptimize(engine::loadEquation(*buffers, text));
        std::string line = engine::FormatLine(buffers->pieces, buffers->levels, engine::kFunctionTokenTable,
                                              buffers->pool, buffers->outputLineCounter);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(validateTokeniseFirstLine);

} // namespace
