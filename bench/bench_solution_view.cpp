// SPDX-License-Identifier: MIT
// The window's Solve command into a shown solution view, accumulated Solves, and recolouring all of it.
#include "app/solution_view.h"
#include "app/solve_into_view.h"
#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"

#include <QApplication>
#include <QColor>
#include <QFont>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <numeric>
#include <vector>

namespace {

/// The line-limit case: 254 lines and the ERROR 33 message.
constexpr auto kLongDerivation = "x*x^x=2";
/// The same cycle with about 420 characters in every line: a block of 107,717 bytes.
constexpr auto kLongLines = "x*x^x=a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z"
                            "*(a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z)"
                            "*(a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z)"
                            "*(a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z)";
constexpr auto kSearchEquation = "x=10*sin(x-1)";

/// A shown view configured as the main window configures it from a fresh settings file.
std::unique_ptr<app::CScriptEdit> shownView()
{
    auto view = std::make_unique<app::CScriptEdit>();
    view->SetKeywords(QStringLiteral(" cos sin tan exp sqr log lgt asn acs atn hsn hcs htn ahs ahc aht "));
    view->SetTextColor(QColor(0, 0, 0), false);
    view->SetKeywordColor(QColor(0, 0, 128), true);
    view->SetNumberColor(QColor(0, 100, 100), false);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    view->ApplyViewFont(font);
    view->resize(800, 500);
    view->show();
    QApplication::processEvents();
    return view;
}

/// Time until the view is laid out and painted again: what the user waits for.
void settle()
{
    QApplication::processEvents();
}

void solveToHighlightedView(benchmark::State& state)
{
    const auto view = shownView();
    engine::EquationSolver solver;
    const config::Settings settings; // AlwaysClearSolution on: one block each time
    const config::InterfaceTexts texts;
    const QString equation = QString::fromLatin1(state.range(0) == 0 ? kLongDerivation : kLongLines);
    for (auto _ : state) {
        app::solveIntoView(solver, *view, equation, settings, texts);
        settle();
    }
    state.counters["lines"] = view->document()->blockCount();
    state.counters["characters"] = view->textLength();
}
BENCHMARK(solveToHighlightedView)->ArgName("long_lines")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void accumulatedSolves(benchmark::State& state)
{
    constexpr int kSolves = 500;
    constexpr int kWindow = 50;
    for (auto _ : state) {
        const auto view = shownView();
        engine::EquationSolver solver;
        config::Settings settings;
        settings.alwaysClearSolution = false;
        const config::InterfaceTexts texts;
        std::vector<double> milliseconds;
        for (int i = 0; i < kSolves; ++i) {
            const auto start = std::chrono::steady_clock::now();
            app::solveIntoView(solver, *view, QString::fromLatin1(kSearchEquation), settings, texts);
            settle();
            milliseconds.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        const double first =
            std::accumulate(milliseconds.begin(), milliseconds.begin() + kWindow, 0.0) / kWindow;
        const double last = std::accumulate(milliseconds.end() - kWindow, milliseconds.end(), 0.0) / kWindow;
        state.counters["first50_ms"] = first;
        state.counters["last50_ms"] = last;
        state.counters["last_per_first"] = last / first;
        state.counters["characters"] = view->textLength();
    }
}
BENCHMARK(accumulatedSolves)->Unit(benchmark::kMillisecond)->Iterations(1);

void highlightAll(benchmark::State& state)
{
    const auto view = shownView();
    engine::EquationSolver solver;
    config::Settings settings;
    settings.alwaysClearSolution = false;
    const config::InterfaceTexts texts;
    while (view->textLength() < state.range(0))
        app::solveIntoView(solver, *view, QString::fromLatin1(kSearchEquation), settings, texts);
    // Exactly the requested length: cut the last block.
    QTextCursor cut(view->document());
    cut.setPosition(static_cast<int>(state.range(0)));
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    settle();
    for (auto _ : state) {
        view->HighlightAll();
        settle();
    }
    state.counters["characters"] = view->textLength();
}
BENCHMARK(highlightAll)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Runs without a display; the view is laid out and painted all the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
