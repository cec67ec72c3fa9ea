// SPDX-License-Identifier: MIT
// The graph's cost: painting the panel's picture at 1280x800 for every golden input (median and
// worst, both tabs), and sampling one curve.
#include "analysis/graph_samples.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"
#include "render/graph_painter.h"

#include "support/golden_file.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::time_point start, Clock::time_point stop)
{
    return std::chrono::duration<double, std::milli>(stop - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

/// The scenes of the golden inputs, as the panel gets them after a Solve.
std::vector<render::GraphScene> goldenScenes(std::vector<std::string>& names)
{
    std::vector<render::GraphScene> scenes;
    auto solver = std::make_unique<engine::EquationSolver>();
    config::SolveOptions options = config::defaultSolveOptions();
    options.graph = true;
    for (const std::string& input : support::goldenInputs(GOLDEN_DIR)) {
        render::GraphScene scene;
        scene.setInput(config::solveRecord(*solver, input, options).graph);
        scenes.push_back(std::move(scene));
        names.push_back(input);
    }
    return scenes;
}

/// One iteration paints every golden input's picture, each timed on its own; a picture's time is the
/// fastest of the iterations. A pan samples again: the real tab is timed with its sampling
/// (pictureIn for the same window) and without.
void paintGoldenInputs(benchmark::State& state, render::GraphTab tab, bool resample)
{
    std::vector<std::string> names;
    std::vector<render::GraphScene> scenes = goldenScenes(names);
    if (scenes.empty()) {
        state.SkipWithError("no golden inputs");
        return;
    }
    const QSize size(1280, 800);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const render::GraphStyle style;
    std::vector<double> times(scenes.size(), 1e300);
    for (auto _ : state) {
        for (std::size_t i = 0; i < scenes.size(); ++i) {
            const Clock::time_point start = Clock::now();
            if (resample)
                scenes[i].setWindow(tab, scenes[i].window(tab));
            QPainter painter(&image);
            render::paintGraph(painter, size, scenes[i], tab, style);
            painter.end();
            times[i] = std::min(times[i], milliseconds(start, Clock::now()));
        }
    }
    const auto worst = std::max_element(times.begin(), times.end());
    state.counters["pictures"] = static_cast<double>(scenes.size());
    state.counters["median_ms"] = median(times);
    state.counters["worst_ms"] = *worst;
    state.SetLabel("worst: " + names[static_cast<std::size_t>(worst - times.begin())]);
}

void BM_PaintRealTab(benchmark::State& state)
{
    paintGoldenInputs(state, render::GraphTab::Real, false);
}
BENCHMARK(BM_PaintRealTab)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PanRealTab(benchmark::State& state)
{
    paintGoldenInputs(state, render::GraphTab::Real, true);
}
BENCHMARK(BM_PanRealTab)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintComplexTab(benchmark::State& state)
{
    paintGoldenInputs(state, render::GraphTab::Complex, false);
}
BENCHMARK(BM_PaintComplexTab)->Unit(benchmark::kMillisecond)->Iterations(3);

/// Sampling one side over the first window: a smooth curve, a steep wave, poles, a domain edge.
void BM_SampleCurve(benchmark::State& state, const char* equation, analysis::GraphWindow window)
{
    analysis::Equation loaded;
    if (!loaded.load(equation)) {
        state.SkipWithError("not loaded");
        return;
    }
    int evaluations = 0;
    for (auto _ : state) {
        analysis::GraphCurve curve = analysis::sampleCurve(loaded.left(), window);
        evaluations = curve.evaluations;
        benchmark::DoNotOptimize(curve);
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK_CAPTURE(BM_SampleCurve, parabola, "x^2-5*x+6=0", analysis::GraphWindow{1, 4, -0.5, 2.3})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SampleCurve, wave, "10*sin(x-1)=x", analysis::GraphWindow{-12, 14, -12, 12})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SampleCurve, poles, "tan(x)=x", analysis::GraphWindow{-20, 20, -30, 30})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SampleCurve, edge, "log(x)*sqr(x-1)=1", analysis::GraphWindow{-10, 10, -5, 5})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Painted offscreen: fonts need the GUI application, no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
