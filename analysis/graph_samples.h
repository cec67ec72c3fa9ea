// SPDX-License-Identifier: MIT
// The graph of an equation as numbers: both sides sampled over real x with principal values in double
// precision, cut where a side is not real or jumps, the range that holds the solutions, robust y
// limits, nice ticks and the solutions in the complex plane.
#pragma once

#include "analysis/all_solutions.h"
#include "analysis/expression_program.h"

#include <string>
#include <string_view>
#include <vector>

namespace analysis {

/// Whether an equation can be drawn.
enum class GraphOutcome {
    Drawable,     ///< both sides are functions of x alone
    EngineError,  ///< the engine rejects the text (a validation error message): nothing to draw
    OtherLetters, ///< a side reads letters other than x: the graph needs values for them
    NoX,          ///< neither side reads x (the engine's own error 21 in practice)
};

/// A rectangle of the plane, in the plane's units.
struct GraphWindow {
    double xMin = -10.0;
    double xMax = 10.0;
    double yMin = -10.0;
    double yMax = 10.0;

    [[nodiscard]] double width() const { return xMax - xMin; }
    [[nodiscard]] double height() const { return yMax - yMin; }
};

struct GraphPoint {
    double x = 0.0;
    double y = 0.0;
};

/// One side as a function of real x: runs of points to be joined by lines, none across a pole, a
/// jump or a stretch where the side is not real (its imaginary part is above kImaginaryNoise).
struct GraphCurve {
    std::vector<std::vector<GraphPoint>> runs;
    /// The real values at the even points alone, which the y limits read: the refinement crowds
    /// points near poles and would weigh them.
    std::vector<double> evenValues;
    int evaluations = 0; ///< evaluations of the side the sampling made
};

/// What the Solve sequence hands to the graph: the equation and every solution it found.
struct GraphInput {
    GraphOutcome outcome = GraphOutcome::EngineError;
    std::string equation;           ///< the prepared text (bytes 33-127, "." as decimal point)
    int errorNumber = 0;            ///< the engine's error number when the solve ended with one, else 0
    std::vector<Complex> solutions; ///< the derivation's verified value and the single solutions, each once
    std::vector<SolutionFamily> families;
};

/// The GraphInput of a prepared text whose solve ended with errorNumber (0 for none): EngineError when
/// the text does not load (the engine rejects it); otherwise the verified value of check (Verified,
/// no other letters) and what the search for all solutions found, each solution once. A derivation
/// that ended in an error (the line limit of tan(x)=x, a division by 0 while folding) still draws.
[[nodiscard]] GraphInput graphInput(std::string_view prepared, int errorNumber, const CheckResult& check,
                                    const AllSolutions& found);

/// An imaginary part counts as zero up to this many times the magnitude the evaluation went through
/// (at least 1): well above double rounding, well below anything a picture could show.
inline constexpr double kImaginaryNoise = 1e-9;

/// Points sampled evenly before the adaptive refinement; denser points are added where a curve
/// bends, near a pole and at the edge of where it is real.
inline constexpr int kBaseSamples = 240;
/// Halvings of a base interval at most, so that a curve costs at most some thousands of evaluations.
inline constexpr int kMaxRefinement = 10;

/// The real value of side at x, or false when it is undefined, overflows or is not real there.
[[nodiscard]] bool realValue(const ExpressionProgram& side, double x, double& y);

/// The real solutions among solutions and family members inside [xMin, xMax], sorted, each once.
[[nodiscard]] std::vector<double> realSolutions(const GraphInput& input, double xMin, double xMax);

/// The x range of the first picture: every real solution (singles and family bases) with a margin of a
/// fifth of their spread, at least 1 and a tenth of their magnitude; -10 ... 10 without any.
[[nodiscard]] std::pair<double, double> chooseXRange(const GraphInput& input);

/// Samples side over [window.xMin, window.xMax]: kBaseSamples even points, each interval halved while
/// its midpoint strays from the chord by more than a thousandth of the window's height or is not real
/// (up to kMaxRefinement times). A run ends between two points when either is not real, and across an
/// interval of the finest halving whose step is still more than a twentieth of the height: a pole or a
/// jump (a continuous curve that steep is vertical on any screen).
[[nodiscard]] GraphCurve sampleCurve(const ExpressionProgram& side, const GraphWindow& window);

/// The y limits for the curves: their smallest and largest value, but no further out than half the
/// spread of the 5% to 95% quantiles beyond them (a pole does not flatten the picture), then 8% room
/// on each side; -1 ... 1 around a flat curve, -10 ... 10 without any point.
[[nodiscard]] std::pair<double, double> robustYLimits(const std::vector<const GraphCurve*>& curves);

/// The first picture of a drawable input: the x range of chooseXRange, both sides sampled, the y
/// limits robust over both; the sides' curves with it.
struct GraphPicture {
    GraphWindow window;
    GraphCurve left;
    GraphCurve right;
};
[[nodiscard]] GraphPicture firstPicture(const Equation& equation, const GraphInput& input);
/// Both sides sampled over a window the user chose.
[[nodiscard]] GraphPicture pictureIn(const Equation& equation, const GraphWindow& window);

/// Tick values inside [low, high]: the multiples of niceStep, a tick within a billionth of a step of 0
/// written as 0.
[[nodiscard]] std::vector<double> niceTicks(double low, double high, int maxTicks);
/// The smallest step of 1, 2 or 5 times a power of ten that divides [low, high] into at most maxTicks
/// steps.
[[nodiscard]] double niceStep(double low, double high, int maxTicks);
/// A tick as text, with as many decimals as step needs ("2.5", "-10", "0.001", "1e+06" far out),
/// "." as decimal point whatever the locale.
[[nodiscard]] std::string tickText(double value, double step);

/// The window of the complex plane: square around every solution with a margin of a fifth of their
/// spread (at least 1 around a single one), the unit disc included when isNearUnitCircle.
[[nodiscard]] GraphWindow complexWindow(const std::vector<Complex>& points);
/// Whether every point (at least one) lies within 5% of the unit circle.
[[nodiscard]] bool isNearUnitCircle(const std::vector<Complex>& points);
/// The solutions of the complex plane: the singles, and the members k = -2 ... 2 of every family.
[[nodiscard]] std::vector<Complex> complexPoints(const GraphInput& input);

} // namespace analysis
