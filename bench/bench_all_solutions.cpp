// SPDX-License-Identifier: MIT
// The search for all solutions per equation over the golden inputs: median and worst time, and the
// evaluations it made; and the whole Solve command with the check and all solutions shown, with exact
// values, and with both.
#include "analysis/all_solutions.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"

#include "support/golden_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

using Clock = std::chrono::steady_clock;

/// One iteration searches every golden input that gets a search, each timed on its own; an input's
/// time is the fastest of the iterations, so that a stray interruption does not count as the worst.
void BM_AllSolutionsGoldenInputs(benchmark::State& state)
{
    std::vector<std::string> inputs;
    for (const std::string& input : support::goldenInputs(GOLDEN_DIR))
        if (analysis::findAllSolutions(input).hasRun)
            inputs.push_back(input);
    if (inputs.empty()) {
        state.SkipWithError("no golden inputs with a search");
        return;
    }
    std::vector<double> times(inputs.size(), 1e300);
    std::vector<double> evaluations(inputs.size(), 0.0);
    for (auto _ : state) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const Clock::time_point start = Clock::now();
            analysis::AllSolutions found = analysis::findAllSolutions(inputs[i]);
            const Clock::time_point stop = Clock::now();
            benchmark::DoNotOptimize(found);
            times[i] = std::min(times[i], std::chrono::duration<double, std::milli>(stop - start).count());
            evaluations[i] = found.evaluations;
        }
    }
    const auto worst = std::max_element(times.begin(), times.end());
    state.counters["searches"] = static_cast<double>(inputs.size());
    state.counters["median_ms"] = median(times);
    state.counters["worst_ms"] = *worst;
    state.counters["evaluations_median"] = median(evaluations);
    state.counters["evaluations_worst"] = *std::max_element(evaluations.begin(), evaluations.end());
    state.SetLabel("worst: " + inputs[static_cast<std::size_t>(worst - times.begin())]);
}
BENCHMARK(BM_AllSolutionsGoldenInputs)->Unit(benchmark::kMillisecond);

/// The window's Solve of every golden input with the given switches: solve, check, search, exact
/// values and the text of the block, each input timed on its own (the fastest of the iterations).
void timeSolves(benchmark::State& state, bool allSolutions, bool exactValues)
{
    const std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    config::SolveOptions options = config::defaultSolveOptions();
    options.showCheck = true;
    options.allSolutions = allSolutions;
    options.exactValues = exactValues;
    engine::EquationSolver solver;
    std::vector<double> times(inputs.size(), 1e300);
    for (auto _ : state) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const Clock::time_point start = Clock::now();
            config::SolutionBlock block = config::solutionBlock(solver, inputs[i], options);
            const Clock::time_point stop = Clock::now();
            benchmark::DoNotOptimize(block);
            times[i] = std::min(times[i], std::chrono::duration<double, std::milli>(stop - start).count());
        }
    }
    const auto worst = std::max_element(times.begin(), times.end());
    state.counters["solves"] = static_cast<double>(inputs.size());
    state.counters["median_ms"] = median(times);
    state.counters["worst_ms"] = *worst;
    state.SetLabel("worst: " + inputs[static_cast<std::size_t>(worst - times.begin())]);
}

void BM_SolveWithCheckAndAllSolutions(benchmark::State& state)
{
    timeSolves(state, true, false);
}
BENCHMARK(BM_SolveWithCheckAndAllSolutions)->Unit(benchmark::kMillisecond);

/// Show exact values on: the closed form of the derivation's value only.
void BM_SolveWithCheckAndExactValues(benchmark::State& state)
{
    timeSolves(state, false, true);
}
BENCHMARK(BM_SolveWithCheckAndExactValues)->Unit(benchmark::kMillisecond);

/// Both on: the closed form of every value listed as well.
void BM_SolveWithAllSolutionsAndExactValues(benchmark::State& state)
{
    timeSolves(state, true, true);
}
BENCHMARK(BM_SolveWithAllSolutionsAndExactValues)->Unit(benchmark::kMillisecond);

} // namespace
