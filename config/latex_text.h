// SPDX-License-Identifier: MIT
// The solution view's text as LaTeX: every solution block an align* environment, every derivation
// line a row in mathematical notation, every other line (header, error message, check, exact value,
// solutions) a \text{} row. Plain C++: the window's Copy as LaTeX and Save result and tervalon-solve
// --latex all call it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace config {

struct Settings;
struct SolveOptions;

/// What the text was written with, so that it can be read back: the prefix of every derived line
/// and the decimal separator.
struct LatexStyle {
    std::string equivalent;       ///< "<=> " by default; empty for none
    std::string decimalSeparator; ///< empty counts as "."
};

[[nodiscard]] LatexStyle latexStyle(const SolveOptions& options);
/// The style of what the window writes with settings (Equivalent, DecimalSeparator).
[[nodiscard]] LatexStyle latexStyle(const Settings& settings);

/// text as the content of \text{}: LaTeX's special characters escaped (\# \$ \% \& \_ \{ \},
/// \textasciicircum{}, \textasciitilde{}, \textbackslash{}, and < > | by name), a no-break space as ~, the
/// arrows, π and the middle dot as inline math, tabs and other control characters as blanks. Other characters
/// stay as they are (UTF-8).
[[nodiscard]] std::string latexText(std::string_view text);

/// One line in the program's notation (numbers with decimalSeparator, single letters, the sixteen
/// functions, π, + - * / ^ = and parentheses, blanks anywhere) as LaTeX maths: `sqr(…)` as
/// \sqrt{…} and sqr(-1) as an upright i, log as \ln, lgt as \lg, the inverse and hyperbolic
/// functions by their standard names, exponents in braces (the parentheses of a bracketed exponent
/// dropped, a chain a^b^c read as (a^b)^c as the engine reads it), * as \cdot, a comma separator as
/// {,}, 5e-7 as 5\cdot 10^{-7}. Nothing when the line is anything else (words, an unbalanced
/// parenthesis, a power without its exponent): what is returned always parses.
[[nodiscard]] std::optional<std::string> latexMath(std::string_view line, std::string_view decimalSeparator);

/// The view's text (lines ending in LF or CR LF, blocks separated by a line of hyphens) as one
/// align* environment per block, each ended by a line end. A row per line: its line number
/// "\text{3)}" and the equivalence marker ("<=>" as \iff, another as \text{…}) in the first column,
/// the line itself in the second (maths when it is in the notation, else \text{…}), its reason
/// (after "← ") as \text{…} in the fourth. Empty lines are left out; text without any line gives "".
[[nodiscard]] std::string latexOfText(std::string_view text, const LatexStyle& style);

/// body as a document of its own for pdfLaTeX (UTF-8 input, amsmath, display breaks allowed so that a
/// long derivation runs on to the next page).
[[nodiscard]] std::string latexDocument(std::string_view body);

} // namespace config
