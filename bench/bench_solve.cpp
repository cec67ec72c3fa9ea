// SPDX-License-Identifier: MIT
// Solve timings over the golden corpus: median and worst time per solve, and the line-limit case.
#include "engine/equation_solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// Every input equation of the golden files (lines that are neither comments, blank nor indented).
const std::vector<std::string>& corpus()
{
    static const std::vector<std::string> inputs = [] {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(GOLDEN_DIR)) {
            if (entry.path().extension() == ".txt")
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        std::vector<std::string> result;
        for (const fs::path& path : files) {
            std::ifstream in(path);
            std::string line;
            while (std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!line.empty() && line[0] != '#' && line[0] != ' ')
                    result.push_back(line);
            }
        }
        return result;
    }();
    return inputs;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

/// One iteration solves the whole corpus; every solve is timed on its own. Reports the median and
/// the worst single solve in microseconds, and names the worst input.
void BM_SolveCorpus(benchmark::State& state)
{
    engine::EquationSolver solver;
    const std::vector<std::string>& inputs = corpus();
    std::vector<double> times;
    double worst = 0.0;
    std::string worstInput;
    for (auto _ : state) {
        for (const std::string& input : inputs) {
            const auto start = std::chrono::steady_clock::now();
            std::string result = solver.Solve(input);
            const auto stop = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(result);
            const double us = std::chrono::duration<double, std::micro>(stop - start).count();
            times.push_back(us);
            if (us > worst) {
                worst = us;
                worstInput = input;
            }
        }
    }
    state.counters["solves"] = static_cast<double>(inputs.size());
    state.counters["median_us"] = percentile(times, 0.5);
    state.counters["p90_us"] = percentile(times, 0.9);
    state.counters["worst_us"] = worst;
    state.SetLabel("worst: " + worstInput);
}
BENCHMARK(BM_SolveCorpus)->Unit(benchmark::kMillisecond);

/// The slowest corpus equation that ends with ERROR 33: 254 lines, then the message.
void BM_SolveLineLimit(benchmark::State& state)
{
    engine::EquationSolver solver;
    std::string chosen;
    double slowest = -1.0;
    for (const std::string& input : corpus()) {
        const auto start = std::chrono::steady_clock::now();
        static_cast<void>(solver.Solve(input));
        const double us =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        if (solver.lastError() == engine::ErrorCode::TooManyLines && us > slowest) {
            slowest = us;
            chosen = input;
        }
    }
    if (chosen.empty()) {
        state.SkipWithError("no corpus equation reaches the line limit");
        return;
    }
    for (auto _ : state) {
        std::string result = solver.Solve(chosen);
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(chosen);
}
BENCHMARK(BM_SolveLineLimit)->Unit(benchmark::kMillisecond);

} // namespace
