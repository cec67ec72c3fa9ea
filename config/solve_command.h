// SPDX-License-Identifier: MIT
// The Solve command's text path, shared by the window and tervalon-solve: prepare the equation,
// solve it, dress the solution and wrap it in the header, all in UTF-8.
#pragma once

#include "analysis/all_solutions.h"
#include "analysis/exact_value.h"
#include "analysis/graph_samples.h"
#include "analysis/result_check.h"
#include "config/step_reasons.h"
#include "engine/error_codes.h"
#include "engine/solve_details.h"

#include <string>
#include <string_view>
#include <vector>

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
    std::string failed;                ///< "%s" x, "%s" left side, "%s" right side
    std::string failedLetters;         ///< "%s" the letters' values, then x, left side, right side
    std::string verified;              ///< "%s" the value of both sides
    std::string verifiedLetters;       ///< no placeholder
    std::string notPossible;           ///< no placeholder: undetermined or not applicable
    std::string otherBranch;           ///< "%s" x, then the left and right side with principal values
    std::string otherBranchLetters;    ///< "%s" the letters' values, then as otherBranch
    std::string undefinedLeft;         ///< "%s" x
    std::string undefinedRight;        ///< "%s" x
    std::string undefinedLeftLetters;  ///< "%s" the letters' values, then x
    std::string undefinedRightLetters; ///< "%s" the letters' values, then x
};

/// The lines of the block of all solutions (FrmMain.m_acM...Solutions).
struct SolutionsTexts {
    std::string other;          ///< "%s" the solutions besides the derivation's value
    std::string noOther;        ///< no placeholder: the search found only the derivation's value
    std::string all;            ///< "%s" every solution, when the derivation gave no value that checks
    std::string none;           ///< no placeholder: the search found nothing
    std::string more;           ///< no placeholder: more solutions may exist
    std::string anyWholeNumber; ///< no placeholder: the line after a list with a periodic family
};

/// The words of the graph's pictures (FrmMain.m_acMGraph...).
struct GraphTexts {
    std::string leftSide;     ///< the legend of the left side's curve
    std::string rightSide;    ///< the legend of the right side's curve
    std::string needsLetters; ///< no placeholder: an equation with other letters
    std::string noRealValues; ///< no placeholder: no side is real in the window
    std::string error;        ///< "%d" the engine's error number
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
    /// Look for the closed form of every value shown and show the ones proved (ExactValues).
    bool exactValues = false;
    std::string exactValueText; ///< FrmMain.m_acMExactValue: "%s" the closed form of the final value
    /// Hand the graph its input (ShowGraph, --plot): the search for all solutions then runs for the
    /// marks even when the block does not list them.
    bool graph = false;
    GraphTexts graphTexts;
};

/// The options of the current settings (AddSpaces, AddLineNumbers, Equivalent, DecimalSeparator,
/// ExplainSteps, ShowCheck, AllSolutions, ExactValues) with the current header, step phrases, check and
/// solutions texts.
[[nodiscard]] SolveOptions solveOptions(const Settings& settings, const InterfaceTexts& texts);
/// Sets the texts of options (header, step phrases, check and solutions lines, the graph's words)
/// from texts.
void applySolveTexts(const InterfaceTexts& texts, SolveOptions& options);
/// The options of a fresh settings file with the built-in English header.
[[nodiscard]] SolveOptions defaultSolveOptions();

/// Everything one Solve computes, before any of it is worded: the one sequence of solve, result
/// check and search for all solutions, which the view's block and the JSON object both render.
struct SolveRecord {
    std::string equation; ///< the prepared text the engine solved (see prepareEquation)
    std::string solution; ///< the engine's text: lines ending in CR LF
    engine::SolveDetails details;
    engine::ErrorCode error = engine::ErrorCode::None;
    /// The result check of the final value; NotApplicable after an error message (the error is the
    /// verdict).
    analysis::CheckResult check;
    /// What the search for all solutions found; hasRun is false when it was not asked for.
    analysis::AllSolutions solutions;
    /// The closed forms of the final value and of what the search found; every one NotAsked
    /// when exact values were not asked for.
    analysis::ExactValues exact;
    /// The equation and every solution found, for the graph; outcome EngineError when not asked for.
    analysis::GraphInput graph;
};

/// Solves equation (UTF-8, as typed) with solver: prepares it, solves it with details, checks the
/// final value in the prepared equation, with AllSolutions or the graph searches all solutions,
/// with ExactValues looks for the closed forms of the final value and the solutions listed, and
/// with the graph gathers its input (the verified value and every solution found).
[[nodiscard]] SolveRecord solveRecord(engine::EquationSolver& solver, std::string_view equation,
                                      const SolveOptions& options);

/// What a part of a block is, so that the view can colour it.
enum class BlockPartKind {
    Derivation, ///< the header and the dressed solution
    ExactValue, ///< the line with the closed form of the final value
    Check,      ///< the check line
    Solutions,  ///< the block of all solutions
};

struct BlockPart {
    BlockPartKind kind = BlockPartKind::Derivation;
    std::string text; ///< ends in CR LF, but for a derivation the engine ended without one
};

/// One solved equation as the view shows it.
struct SolutionBlock {
    /// The parts in order: the derivation, then the exact value's line when one was found, then the
    /// check line when there is one, then the block of all solutions when it was asked for.
    std::vector<BlockPart> parts;
    /// header, dressed solution, check line and solutions, decimal separator applied; no separator line
    std::string text;
    bool endedWithError = false; ///< the solve returned an engine error message
    analysis::CheckResult check; ///< the result check of the solve's final value
    /// The block has a check line: always after a rejection (failed, another branch, undefined),
    /// for every verdict with ShowCheck, never after an error message.
    bool hasCheckLine = false;
    /// What the search for all solutions found; hasRun is false when it was not asked for.
    analysis::AllSolutions solutions;
};

/// Replaces every occurrence of search by replacement, left to right, never searching inside a
/// replacement already made. An empty search changes nothing.
[[nodiscard]] std::string ReplaceAll(std::string_view text, std::string_view search,
                                     std::string_view replacement);

/// The text the engine receives: the user's decimal separator replaced by ".", then every byte
/// below 33 or above 127 removed (so a separator made of other bytes is recognised before it
/// would be stripped).
[[nodiscard]] std::string prepareEquation(std::string_view equation, std::string_view decimalSeparator);

/// A number as the extra lines write it: the engine's six-digit form, with blanks around its
/// operators as a derivation has them when addSpaces, and the decimal separator.
[[nodiscard]] std::string displayNumber(engine::Complex value, bool addSpaces,
                                        std::string_view decimalSeparator);

/// The check line of a result check (without line end): the verdict's text with the numbers as
/// displayNumber writes them. A format whose conversions do not fit is replaced by the built-in one.
[[nodiscard]] std::string checkLine(const analysis::CheckResult& check, const CheckTexts& texts,
                                    bool addSpaces, std::string_view decimalSeparator);

/// The block of all solutions (each line ending in CR LF), empty when found did not run. With a
/// final value that checks (check Verified), the other solutions or "none other"; without one,
/// all solutions or "none". The periodic families come first, each as "x = base + period*k", then
/// the single values, separated by ", " (by "; " when the separator is a comma), numbers as
/// displayNumber writes them, each followed by " = " and its closed form when exact has found one;
/// a line on k follows a list with a family, then the note that more may exist.
[[nodiscard]] std::string solutionsLines(const analysis::AllSolutions& found,
                                         const analysis::CheckResult& check, const SolutionsTexts& texts,
                                         bool addSpaces, std::string_view decimalSeparator,
                                         const analysis::ExactValues& exact = {});

/// A closed form as the extra lines write it: blanks around its operators when addSpaces, as a
/// derivation has them, and the decimal separator (a family's base may be a decimal); pi stays "π".
[[nodiscard]] std::string displayClosedForm(std::string_view text, bool addSpaces,
                                            std::string_view decimalSeparator);

/// The block of a record: the header format with the prepared equation and the dressed solution
/// (with explainSteps every line followed by its reason, see `explainLines`), every "." of it
/// replaced by the decimal separator; the exact value's line when one was found; the check line when
/// the check rejects the value or ShowCheck asks (never after an error message); then the block of
/// all solutions. A header format whose
/// conversions do not take exactly the two texts is replaced by the built-in one.
[[nodiscard]] SolutionBlock renderBlock(const SolveRecord& record, const SolveOptions& options);

/// The Solve command for equation (UTF-8, as typed): `solveRecord`, then `renderBlock`.
[[nodiscard]] SolutionBlock solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                                          const SolveOptions& options);

/// The result of a block in one line, for the status line under the view and for screen readers:
/// the derivation's last line as shown (the final value, or the error message) without its line
/// number, equivalence text and reason, then, two blanks apart, the check line worded for the
/// verdict of that value (also when the block shows none; nothing after an error message).
[[nodiscard]] std::string resultSummary(const SolutionBlock& block, const SolveOptions& options);

/// What starts the reason of a line: two blanks at least, "←" and a blank. The view shows the rest
/// of the line from there in its muted colour.
inline constexpr std::string_view kReasonMarker = "\xE2\x86\x90 ";

/// Appends to every line of lines (each ending in CR LF) its reason, in the same column for all:
/// the longest line as it will be shown (every "." replaced by separator) plus two blanks, then
/// kReasonMarker and the reason worded with options' phrases. Lines beyond the reasons stay as they are.
[[nodiscard]] std::string explainLines(std::string_view lines, const std::vector<engine::StepReason>& reasons,
                                       const SolveOptions& options);

} // namespace config
