// SPDX-License-Identifier: MIT
// Validation, tokenising and the first line of a 255-character equation.
#include "engine/equation_solver.h"

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
    auto solver = std::make_unique<engine::EquationSolver>();
    const std::string text = longEquation();
    if (text.size() != 255 || solver->Validate(text).code != 0) {
        state.SkipWithError("benchmark equation is not a valid 255-character equation");
        return;
    }
    for (auto _ : state) {
        solver->resetOutputLineCounter();
        benchmark::DoNotOptimize(solver->loadEquation(text));
        std::string line = solver->FormatLine(solver->pieces(), solver->levels(), engine::kFunctionTokenTable,
                                              solver->constantPool());
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(validateTokeniseFirstLine);

} // namespace
