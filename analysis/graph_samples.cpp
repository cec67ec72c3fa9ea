// SPDX-License-Identifier: MIT
// Adaptive sampling of both sides over real x, the first picture's range and limits, and nice ticks.
#include "analysis/graph_samples.h"

#include "analysis/principal_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace analysis {

namespace {

/// How far the midpoint may stray from the chord, and the step that ends a run at the finest
/// halving, as parts of the window's height.
constexpr double kFlatness = 1e-3;
constexpr double kJumpStep = 0.05;
/// A value counts as real up to this imaginary part relative to its magnitude.
constexpr double kRealTolerance = 1e-9;

bool isReal(Complex z)
{
    return std::fabs(z.im) <= kRealTolerance * std::max(1.0, std::fabs(z.re));
}

void addUnique(std::vector<Complex>& values, Complex value)
{
    for (const Complex& known : values) {
        if (isSameSolution(known, value))
            return;
    }
    values.push_back(value);
}

/// Samples of one side, appended run by run.
class CurveSampler {
public:
    CurveSampler(const ExpressionProgram& side, const GraphWindow& window)
        : m_side(side), m_tolerance(kFlatness * window.height()), m_jump(kJumpStep * window.height())
    {
    }

    struct Sample {
        double x = 0.0;
        double y = 0.0;
        bool isReal = false;
    };

    Sample at(double x)
    {
        ++m_curve.evaluations;
        Sample sample{x, 0.0, false};
        sample.isReal = realValue(m_side, x, sample.y);
        return sample;
    }

    void start(const Sample& first)
    {
        if (first.isReal)
            add(first);
    }

    /// Adds the points after a up to b, halving [a, b] where the curve needs it.
    void refine(const Sample& a, const Sample& b, int depth)
    {
        if (!a.isReal && !b.isReal && depth > 0)
            return; // a real island narrower than a base interval's half is lost, as a pixel would be
        const Sample m = at(0.5 * (a.x + b.x));
        const bool isFlat =
            a.isReal && b.isReal && m.isReal && std::fabs(m.y - 0.5 * (a.y + b.y)) <= m_tolerance;
        if (!isFlat && depth < kMaxRefinement) {
            refine(a, m, depth + 1);
            refine(m, b, depth + 1);
            return;
        }
        if (isFlat) {
            add(m);
            add(b);
            return;
        }
        // The finest halving: join only what is real on both ends and steps less than a jump.
        if (a.isReal && m.isReal && std::fabs(m.y - a.y) <= m_jump)
            add(m);
        else
            cut();
        if (m.isReal && b.isReal && std::fabs(b.y - m.y) <= m_jump) {
            if (m_open.empty())
                add(m);
            add(b);
        } else {
            cut();
            if (b.isReal)
                add(b);
        }
    }

    void evenValue(const Sample& sample)
    {
        if (sample.isReal)
            m_curve.evenValues.push_back(sample.y);
    }

    GraphCurve finish()
    {
        cut();
        return std::move(m_curve);
    }

private:
    void add(const Sample& sample)
    {
        if (!sample.isReal) {
            cut();
            return;
        }
        if (!m_open.empty() && m_open.back().x == sample.x)
            return;
        m_open.push_back({sample.x, sample.y});
    }

    void cut()
    {
        // A lone point is what the finest halving leaves between two steep steps beside a pole.
        if (m_open.size() >= 2)
            m_curve.runs.push_back(std::move(m_open));
        m_open.clear();
    }

    const ExpressionProgram& m_side;
    double m_tolerance;
    double m_jump;
    GraphCurve m_curve;
    std::vector<GraphPoint> m_open;
};

double quantile(std::vector<double>& sorted, double part)
{
    const double position = part * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

/// The real solutions that place the first picture: singles, and every family base with its
/// neighbours on either side, so that a period shows.
std::vector<double> placingSolutions(const GraphInput& input)
{
    std::vector<double> xs;
    for (const Complex& value : input.solutions) {
        if (isReal(value))
            xs.push_back(value.re);
    }
    for (const SolutionFamily& family : input.families) {
        if (isReal(family.base) && family.period.im == 0.0) {
            xs.push_back(family.base.re);
            xs.push_back(family.base.re + family.period.re);
            xs.push_back(family.base.re - family.period.re);
        }
    }
    return xs;
}

} // namespace

GraphInput graphInput(std::string_view prepared, int errorNumber, const CheckResult& check,
                      const AllSolutions& found)
{
    GraphInput input;
    input.equation = std::string(prepared);
    input.errorNumber = errorNumber;
    // An error of the derivation (an overflow, a division by 0 while folding, the line limit) leaves
    // the equation as entered to draw; only a text the engine rejects has none.
    Equation equation;
    if (!equation.load(prepared)) {
        input.outcome = GraphOutcome::EngineError;
        return input;
    }
    if (!equation.readsX()) {
        input.outcome = GraphOutcome::NoX;
        return input;
    }
    if (equation.otherLetters() != 0) {
        input.outcome = GraphOutcome::OtherLetters;
        return input;
    }
    input.outcome = GraphOutcome::Drawable;
    if (check.verdict == CheckVerdict::Verified && check.letterSet < 0)
        addUnique(input.solutions, check.value);
    for (const Solution& solution : found.solutions)
        addUnique(input.solutions, solution.value);
    input.families = found.families;
    return input;
}

bool realValue(const ExpressionProgram& side, double x, double& y)
{
    static const LetterValues kNoLetters{};
    const PrincipalResult<double> result = principalValue<double>(side, {x, 0.0}, kNoLetters);
    if (result.outcome != EvaluationOutcome::Defined)
        return false;
    const double re = result.value.real();
    const double im = result.value.imag();
    if (!std::isfinite(re) || std::fabs(im) > kImaginaryNoise * std::max(1.0, result.scale))
        return false;
    y = re;
    return true;
}

std::vector<double> realSolutions(const GraphInput& input, double xMin, double xMax)
{
    std::vector<double> xs;
    const auto add = [&](double x) {
        if (x < xMin || x > xMax)
            return;
        for (const double known : xs) {
            if (isSameSolution({known, 0.0}, {x, 0.0}))
                return;
        }
        xs.push_back(x);
    };
    for (const Complex& value : input.solutions) {
        if (isReal(value))
            add(value.re);
    }
    for (const SolutionFamily& family : input.families) {
        if (!isReal(family.base) || family.period.im != 0.0 || family.period.re <= 0.0)
            continue;
        const double p = family.period.re;
        const double first = std::ceil((xMin - family.base.re) / p);
        const double last = std::floor((xMax - family.base.re) / p);
        // A family with more members than a picture could tell apart shows none of them.
        if (last - first > 1000.0)
            continue;
        for (double k = first; k <= last; k += 1.0)
            add(family.base.re + k * p);
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

std::pair<double, double> chooseXRange(const GraphInput& input)
{
    const std::vector<double> xs = placingSolutions(input);
    if (xs.empty())
        return {-10.0, 10.0};
    const auto [low, high] = std::minmax_element(xs.begin(), xs.end());
    const double magnitude = std::max(std::fabs(*low), std::fabs(*high));
    const double margin = std::max({0.2 * (*high - *low), 1.0, 0.1 * magnitude});
    return {*low - margin, *high + margin};
}

GraphCurve sampleCurve(const ExpressionProgram& side, const GraphWindow& window)
{
    CurveSampler sampler(side, window);
    const double step = window.width() / kBaseSamples;
    CurveSampler::Sample previous = sampler.at(window.xMin);
    sampler.evenValue(previous);
    sampler.start(previous);
    for (int i = 1; i <= kBaseSamples; ++i) {
        const double x = i == kBaseSamples ? window.xMax : window.xMin + step * i;
        const CurveSampler::Sample next = sampler.at(x);
        sampler.evenValue(next);
        sampler.refine(previous, next, 0);
        previous = next;
    }
    return sampler.finish();
}

std::pair<double, double> robustYLimits(const std::vector<const GraphCurve*>& curves)
{
    std::vector<double> values;
    for (const GraphCurve* curve : curves)
        values.insert(values.end(), curve->evenValues.begin(), curve->evenValues.end());
    if (values.empty())
        return {-10.0, 10.0};
    std::sort(values.begin(), values.end());
    const double q05 = quantile(values, 0.05);
    const double q95 = quantile(values, 0.95);
    const double spread = q95 - q05;
    double low = std::max(values.front(), q05 - 0.5 * spread);
    double high = std::min(values.back(), q95 + 0.5 * spread);
    if (high - low <= 1e-9 * std::max(1.0, std::fabs(high))) {
        const double centre = 0.5 * (low + high);
        return {centre - 1.0, centre + 1.0};
    }
    const double room = 0.08 * (high - low);
    low -= room;
    high += room;
    return {low, high};
}

GraphPicture firstPicture(const Equation& equation, const GraphInput& input)
{
    const auto [xMin, xMax] = chooseXRange(input);
    // A first pass with provisional limits finds the limits; the curves are then sampled for them.
    GraphWindow window{xMin, xMax, -10.0, 10.0};
    const GraphCurve left = sampleCurve(equation.left(), window);
    const GraphCurve right = sampleCurve(equation.right(), window);
    auto [yMin, yMax] = robustYLimits({&left, &right});
    for (const double x : realSolutions(input, xMin, xMax)) {
        double y = 0.0;
        if (realValue(equation.left(), x, y) && std::isfinite(y)) {
            const double room = 0.08 * (yMax - yMin);
            yMin = std::min(yMin, y - room);
            yMax = std::max(yMax, y + room);
        }
    }
    window.yMin = yMin;
    window.yMax = yMax;
    return pictureIn(equation, window);
}

GraphPicture pictureIn(const Equation& equation, const GraphWindow& window)
{
    GraphPicture picture;
    picture.window = window;
    picture.left = sampleCurve(equation.left(), window);
    picture.right = sampleCurve(equation.right(), window);
    return picture;
}

double niceStep(double low, double high, int maxTicks)
{
    const double span = high - low;
    if (!(span > 0.0) || maxTicks < 1)
        return 1.0;
    const double raw = span / maxTicks;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1.0 - 1e-12))
            return factor * power;
    }
    return 10.0 * power;
}

std::vector<double> niceTicks(double low, double high, int maxTicks)
{
    std::vector<double> ticks;
    const double step = niceStep(low, high, maxTicks);
    if (!(high > low) || !std::isfinite(step))
        return ticks;
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    for (double k = first; k <= last && ticks.size() <= static_cast<std::size_t>(maxTicks) + 1; k += 1.0) {
        const double value = k * step;
        ticks.push_back(std::fabs(value) < 1e-9 * step ? 0.0 : value);
    }
    return ticks;
}

std::string tickText(double value, double step)
{
    if (value == 0.0)
        return "0";
    std::array<char, 64> buffer{};
    const double magnitude = std::max(std::fabs(value), step);
    const bool isScientific = magnitude >= 1e6 || step < 1e-5;
    const int digits = isScientific
                           ? std::max(0, static_cast<int>(std::ceil(std::log10(magnitude / step) - 1e-9)))
                           : std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                      isScientific ? std::chars_format::scientific : std::chars_format::fixed, digits);
    std::string text(buffer.data(), result.ptr);
    // Trailing zeros of the decimals say nothing: "0.5" beside "1", not "1.0".
    const std::size_t exponent = std::min(text.find('e'), text.size());
    std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.ends_with('.'))
            mantissa.pop_back();
    }
    return mantissa + text.substr(exponent);
}

GraphWindow complexWindow(const std::vector<Complex>& points)
{
    if (points.empty())
        return {-2.0, 2.0, -2.0, 2.0};
    double xMin = points.front().re;
    double xMax = xMin;
    double yMin = points.front().im;
    double yMax = yMin;
    for (const Complex& z : points) {
        xMin = std::min(xMin, z.re);
        xMax = std::max(xMax, z.re);
        yMin = std::min(yMin, z.im);
        yMax = std::max(yMax, z.im);
    }
    if (isNearUnitCircle(points)) {
        xMin = std::min(xMin, -1.0);
        xMax = std::max(xMax, 1.0);
        yMin = std::min(yMin, -1.0);
        yMax = std::max(yMax, 1.0);
    }
    const double spread = std::max(xMax - xMin, yMax - yMin);
    const double magnitude = std::max({std::fabs(xMin), std::fabs(xMax), std::fabs(yMin), std::fabs(yMax)});
    const double margin = spread > 0.0 ? 0.2 * spread : std::max(1.0, 0.1 * magnitude);
    const double half = 0.5 * spread + margin;
    const double cx = 0.5 * (xMin + xMax);
    const double cy = 0.5 * (yMin + yMax);
    return {cx - half, cx + half, cy - half, cy + half};
}

bool isNearUnitCircle(const std::vector<Complex>& points)
{
    if (points.empty())
        return false;
    return std::all_of(points.begin(), points.end(),
                       [](const Complex& z) { return std::fabs(magnitude(z) - 1.0) <= 0.05; });
}

std::vector<Complex> complexPoints(const GraphInput& input)
{
    std::vector<Complex> points = input.solutions;
    for (const SolutionFamily& family : input.families) {
        for (int k = -2; k <= 2; ++k)
            addUnique(points, {family.base.re + k * family.period.re, family.base.im + k * family.period.im});
    }
    return points;
}

} // namespace analysis
