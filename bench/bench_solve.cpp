// SPDX-License-Identifier: MIT
// Solve timings: the golden inputs and a corpus of everyday equations (median and 90th percentile
// per solve, cold and warm), the golden inputs with the reason of every line recorded, and the
// worst cases one by one.
#include "engine/equation_solver.h"
#include "engine/solve_details.h"

#include "support/golden_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// The equations of a corpus file: every line that is neither a comment, blank nor indented (the
/// golden files' expected lines are indented).
void readEquations(const fs::path& path, std::vector<std::string>& equations)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#' && line[0] != ' ')
            equations.push_back(line);
    }
}

const std::vector<std::string>& goldenInputs()
{
    static const std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    return inputs;
}

const std::vector<std::string>& everydayEquations()
{
    static const std::vector<std::string> inputs = [] {
        std::vector<std::string> result;
        readEquations(fs::path(BENCH_DIR) / "everyday_equations.txt", result);
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

/// Which entry a corpus is solved with: the plain Solve, or Solve with the reason of every line.
enum class Entry { Plain, WithReasons };

/// Microseconds one solve of input takes.
double timeSolve(engine::EquationSolver& solver, const std::string& input, Entry entry)
{
    engine::SolveDetails details;
    const auto start = std::chrono::steady_clock::now();
    std::string result = entry == Entry::Plain ? solver.Solve(input) : solver.Solve(input, details);
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(details);
    return std::chrono::duration<double, std::micro>(stop - start).count();
}

/// One iteration solves every equation of the corpus twice in a row, each solve timed on its own.
/// The first solve comes after all the others and finds the caches and branch predictors set for
/// them ("cold"); the second shows the cost of the solve itself. Reports median and 90th
/// percentile of both, and the worst single solve with its input.
void solveCorpus(benchmark::State& state, const std::vector<std::string>& inputs, Entry entry = Entry::Plain)
{
    if (inputs.empty()) {
        state.SkipWithError("the corpus is empty");
        return;
    }
    engine::EquationSolver solver;
    std::vector<double> cold;
    std::vector<double> warm;
    double worst = 0.0;
    std::string worstInput;
    for (auto _ : state) {
        for (const std::string& input : inputs) {
            cold.push_back(timeSolve(solver, input, entry));
            warm.push_back(timeSolve(solver, input, entry));
            if (warm.back() > worst) {
                worst = warm.back();
                worstInput = input;
            }
        }
    }
    state.counters["solves"] = static_cast<double>(inputs.size());
    state.counters["median_us"] = percentile(warm, 0.5);
    state.counters["p90_us"] = percentile(warm, 0.9);
    state.counters["cold_median_us"] = percentile(cold, 0.5);
    state.counters["cold_p90_us"] = percentile(cold, 0.9);
    state.counters["worst_us"] = worst;
    state.SetLabel("worst: " + worstInput);
}

void BM_SolveGoldenInputs(benchmark::State& state)
{
    solveCorpus(state, goldenInputs());
}
BENCHMARK(BM_SolveGoldenInputs)->Unit(benchmark::kMillisecond);

// What recording the reasons costs when they are asked for; the plain Solve above records nothing.
void BM_SolveGoldenInputsWithReasons(benchmark::State& state)
{
    solveCorpus(state, goldenInputs(), Entry::WithReasons);
}
BENCHMARK(BM_SolveGoldenInputsWithReasons)->Unit(benchmark::kMillisecond);

void BM_SolveEverydayEquations(benchmark::State& state)
{
    solveCorpus(state, everydayEquations());
}
BENCHMARK(BM_SolveEverydayEquations)->Unit(benchmark::kMillisecond);

/// A sum of count terms, term(1) + term(2) + ...
template <typename Term> std::string termsOf(int count, Term term)
{
    std::string text = term(1);
    for (int i = 2; i <= count; ++i)
        text += "+" + term(i);
    return text;
}

/// exp(x)=a*x*a*b*c*...*v, the letters a to v repeated up to 254 characters.
std::string productOfLetters()
{
    std::string text = "exp(x)=a*x";
    for (int i = 0; text.size() + 2 <= 254; ++i)
        text += std::string("*") + static_cast<char>('a' + i % 22);
    return text;
}

/// One equation solved again and again. The label tells how the solve ends.
void BM_SolveWorstCase(benchmark::State& state, const std::string& equation)
{
    engine::EquationSolver solver;
    for (auto _ : state) {
        std::string result = solver.Solve(equation);
        benchmark::DoNotOptimize(result);
    }
    const engine::ErrorCode error = solver.lastError();
    state.SetLabel(error == engine::ErrorCode::None ? "solved"
                                                    : "ERROR " + std::to_string(static_cast<int>(error)));
}

// Long sums: constants to fold, and like terms to collect.
BENCHMARK_CAPTURE(BM_SolveWorstCase, constant_sum_69,
                  "x=" + termsOf(69, [](int i) { return std::to_string(i); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveWorstCase, like_term_sum_124,
                  termsOf(124, [](int) { return std::string("x"); }) + "=6")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveWorstCase, coefficient_sum_39,
                  termsOf(39, [](int i) { return std::to_string(i) + "*x"; }) + "=1")
    ->Unit(benchmark::kMillisecond);
// A product of letters with exp: 254 lines, then ERROR 33.
BENCHMARK_CAPTURE(BM_SolveWorstCase, product_of_letters, productOfLetters())->Unit(benchmark::kMillisecond);
// Line-limit cycles: the golden one and two from random equations.
BENCHMARK_CAPTURE(BM_SolveWorstCase, cycle_golden, std::string("x*x^x=2"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveWorstCase, cycle_power, std::string("(sin(x-1847/-x+3)/12-x^.91)^41.066=x+7*x-x"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveWorstCase, cycle_functions,
                  std::string("tan(sqr(-exp(x*x)-lgt(x/x))-((12*7))+-(48.981)-log(+x+2))=x-9748"))
    ->Unit(benchmark::kMillisecond);

} // namespace
