// SPDX-License-Identifier: MIT
// The result check's cost per solve over the golden inputs: median and worst, and its share of the
// solve it checks.
#include "analysis/result_check.h"
#include "engine/equation_solver.h"
#include "engine/solve_details.h"

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

double microseconds(Clock::time_point start, Clock::time_point stop)
{
    return std::chrono::duration<double, std::micro>(stop - start).count();
}

/// One iteration solves every golden input with details and checks it, each timed on its own; the
/// check's time is the fastest of the iterations, so that a stray interruption does not count as
/// the worst case. Reports the median and the worst check, and the median ratio of check to solve.
void BM_CheckGoldenInputs(benchmark::State& state)
{
    const std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    if (inputs.empty()) {
        state.SkipWithError("no golden inputs");
        return;
    }
    engine::EquationSolver solver;
    std::vector<double> checkTimes(inputs.size(), 1e300);
    std::vector<double> solveTimes(inputs.size(), 1e300);
    for (auto _ : state) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            engine::SolveDetails details;
            const Clock::time_point start = Clock::now();
            std::string text = solver.Solve(inputs[i], details);
            const Clock::time_point solved = Clock::now();
            analysis::CheckResult check = analysis::checkSolve(inputs[i], details);
            const Clock::time_point checked = Clock::now();
            benchmark::DoNotOptimize(text);
            benchmark::DoNotOptimize(check);
            solveTimes[i] = std::min(solveTimes[i], microseconds(start, solved));
            checkTimes[i] = std::min(checkTimes[i], microseconds(solved, checked));
        }
    }
    const auto worst = std::max_element(checkTimes.begin(), checkTimes.end());
    std::vector<double> shares;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        shares.push_back(checkTimes[i] / std::max(solveTimes[i], 1e-3));
    state.counters["solves"] = static_cast<double>(inputs.size());
    state.counters["check_median_us"] = median(checkTimes);
    state.counters["check_worst_us"] = *worst;
    state.counters["solve_median_us"] = median(solveTimes);
    state.counters["check_to_solve_median"] = median(shares);
    state.SetLabel("worst: " + inputs[static_cast<std::size_t>(worst - checkTimes.begin())]);
}
BENCHMARK(BM_CheckGoldenInputs)->Unit(benchmark::kMillisecond);

} // namespace
