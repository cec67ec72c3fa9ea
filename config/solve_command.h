// SPDX-License-Identifier: MIT
// The Solve command's text path, shared by the window and tervalon-solve: prepare the equation,
// solve it, dress the solution and wrap it in the header, all in UTF-8.
#pragma once

#include "config/step_reasons.h"
#include "engine/all_solutions.h"
#include "engine/result_check.h"

#include <string>
#include <string_view>

namespace engine {
class EquationSolver;
}

namespace config {

struct Settings;
class InterfaceTexts;

/// What separates two solution blocks in the view: CR LF, 56 hyphen-minus characters, CR LF. The
/// caller puts it in front of a block when the view already holds text.
inline constexpr std::string_view kBlockSeparator =
    "\r\n--------------------------------------------------------\r\n";

/// The formats of the line a result check adds after the derivation (FrmMain.m_acMCheck...).
struct CheckTexts {
    std::string failed;          ///< "%s" x, "%s" left side, "%s" right side
    std::string failedLetters;   ///< "%s" the letters' values, then x, left side, right side
    std::string verified;        ///< "%s" the value of both sides
    std::string verifiedLetters; ///< no placeholder
    std::string notPossible;     ///< no placeholder: undetermined or not applicable
};

/// The lines of the block of all solutions (FrmMain.m_acM...Solutions).
struct SolutionsTexts {
    std::string other;   ///< "%s" the solutions besides the derivation's value
    std::string noOther; ///< no placeholder: the search found only the derivation's value
    std::string all;     ///< "%s" every solution, when the derivation gave no value that checks
    std::string none;    ///< no placeholder: the search found nothing
    std::string more;    ///< no placeholder: more solutions may exist
};

/// How a solution is dressed, from the settings and the interface texts (all texts UTF-8).
struct SolveOptions {
    bool addSpaces = false;
    bool addLineNumbers = false;
    std::string equivalent;       ///< prefix of every line after the first; empty for none
    std::string decimalSeparator; ///< the user's decimal point; empty counts as "."
    std::string headerFormat;     ///< FrmMain.m_acMSolution: "%s" equation, then "%s" solution
    bool explainSteps = false;    ///< every line followed by its reason, aligned in a column
    StepPhrases stepPhrases;      ///< the phrases of the reasons
    /// Add the check line for every verdict (ShowCheck); a failed check adds it in any case.
    bool showCheck = false;
    CheckTexts checkTexts;
    /// Add the block of all solutions found numerically (AllSolutions).
    bool allSolutions = false;
    SolutionsTexts solutionsTexts;
};

/// The options of the current settings (AddSpaces, AddLineNumbers, Equivalent, DecimalSeparator,
/// ExplainSteps, ShowCheck, AllSolutions) with the current header, step phrases, check and solutions
/// texts.
[[nodiscard]] SolveOptions solveOptions(const Settings& settings, const InterfaceTexts& texts);
/// Sets the texts of options (header, step phrases, check and solutions lines) from texts.
void applySolveTexts(const InterfaceTexts& texts, SolveOptions& options);
/// The options of a fresh settings file with the built-in English header.
[[nodiscard]] SolveOptions defaultSolveOptions();

/// One solved equation as the view shows it.
struct SolutionBlock {
    std::string
        text; ///< header, dressed solution and check line, decimal separator applied; no separator line
    bool endedWithError = false; ///< the solve returned an engine error message
    engine::CheckResult check;   ///< the result check of the solve's final value
    /// The block ends with the check line: always after a failed check, for every verdict with ShowCheck.
    bool hasCheckLine = false;
    /// What the search for all solutions found; hasRun is false when it was not asked for.
    engine::AllSolutions solutions;
    /// Where the block of all solutions starts in text (after the check line); text.size() without it.
    std::size_t solutionsStart = 0;
};

/// Replaces every occurrence of search by replacement, left to right, never searching inside a
/// replacement already made. An empty search changes nothing.
[[nodiscard]] std::string ReplaceAll(std::string_view text, std::string_view search,
                                     std::string_view replacement);

/// The text the engine receives: the user's decimal separator replaced by ".", then every byte
/// below 33 or above 127 removed (so a separator made of other bytes is recognised before it
/// would be stripped).
[[nodiscard]] std::string prepareEquation(std::string_view equation, std::string_view decimalSeparator);

/// The check line of a result check (without line end): the verdict's text with the numbers in the
/// engine's six-digit form and the decimal separator. A format whose conversions do not fit is
/// replaced by the built-in one.
[[nodiscard]] std::string checkLine(const engine::CheckResult& check, const CheckTexts& texts,
                                    std::string_view decimalSeparator);

/// The block of all solutions (each line ending in CR LF), empty when found did not run. With a
/// final value that checks (check Verified), the other solutions or "none other"; without one,
/// all solutions or "none"; then the note that more may exist. Numbers in the engine's six-digit
/// form with the decimal separator, separated by ", " (by "; " when the separator is a comma).
[[nodiscard]] std::string solutionsLines(const engine::AllSolutions& found, const engine::CheckResult& check,
                                         const SolutionsTexts& texts, std::string_view decimalSeparator);

/// The Solve command for equation (UTF-8, as typed): prepares it, solves it with solver, dresses
/// the result, formats the header with the prepared equation and the dressed text, and replaces
/// every "." of the whole block by the decimal separator. A header format whose conversions do not
/// take exactly the two texts is replaced by the built-in one. With explainSteps every line is
/// followed by its reason (see `explainLines`). Then the final value is checked in the prepared
/// equation; the check line follows the block when the check failed or ShowCheck asks,
/// and with AllSolutions the block of all solutions follows that.
[[nodiscard]] SolutionBlock solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                                          const SolveOptions& options);

/// What starts the reason of a line: two blanks at least, "←" and a blank. The view shows the rest
/// of the line from there in its muted colour.
inline constexpr std::string_view kReasonMarker = "\xE2\x86\x90 ";

/// Appends to every line of lines (each ending in CR LF) its reason, in the same column for all:
/// the longest line as it will be shown (every "." replaced by separator) plus two blanks, then
/// kReasonMarker and the reason worded with options' phrases. Lines beyond the reasons stay as they are.
[[nodiscard]] std::string explainLines(std::string_view lines, const std::vector<engine::StepReason>& reasons,
                                       const SolveOptions& options);

} // namespace config
