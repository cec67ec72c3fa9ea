// SPDX-License-Identifier: MIT
// The equation engine: validates, tokenises and solves one equation in x, returning its derivation.
#pragma once

#include "engine/error_codes.h"
#include "engine/validation.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace engine {

struct SolverBuffers;
struct SolveDetails;

/// The equation solver. One object solves one equation at a time (`Solve`) on working buffers of
/// its own; it is not reentrant. Its message table starts with the built-in English texts and is
/// changed only through `SetMessage`. The steps a solve is made of live in their own headers
/// (pieces.h, complex_arithmetic.h, constant_folding.h, transformations.h, rules.h, formatting.h).
///
/// Typical use: strip the user's text (`StripEquation`), `Solve` it, and dress the result for
/// display (`DecorateSolution`); `lastError` tells a derivation from an error message.
class EquationSolver {
public:
    EquationSolver();
    ~EquationSolver();

    /// Solves the prepared equation text (bytes 33-127, "." as decimal point; cut at a NUL).
    /// Returns the solution lines (each ending in CR LF), or one error message, or the lines
    /// followed by the ERROR 33 message.
    [[nodiscard]] std::string Solve(std::string_view text);
    /// The same solve, byte for byte the same text, also filling details (see solve_details.h).
    [[nodiscard]] std::string Solve(std::string_view text, SolveDetails& details);
    /// The error the last `Solve` ended with (ErrorCode::None when it returned a derivation).
    [[nodiscard]] ErrorCode lastError() const { return m_lastError; }

    /// Stores message index (0-39) with CR LF appended; other indexes are ignored. Texts are
    /// printf-style formats; one whose conversions do not fit its arguments is never used as such.
    void SetMessage(int index, std::string_view text);
    /// Message index as stored (with CR LF), or an empty text for an index outside 0-39.
    [[nodiscard]] const std::string& message(int index) const;
    /// The built-in English text of ERROR code (without CR LF), or an empty view for unused codes.
    [[nodiscard]] static std::string_view defaultMessage(int code);

    /// Removes every byte below 33 or above 127, keeping the order of the others.
    [[nodiscard]] static std::string StripEquation(std::string_view text);
    /// Dresses a solution text: blanks around the operators + - * / = ^ (addSpaces), "%d) " line
    /// numbers (addLineNumbers) and the equivalence prefix (when showEquivalence and not empty) on
    /// every line after the first.
    [[nodiscard]] static std::string DecorateSolution(std::string_view solution, bool addSpaces,
                                                      bool showEquivalence, std::string_view equivalence,
                                                      bool addLineNumbers);

    /// Checks the text in one left-to-right scan and reports the first fault (see validation.h).
    [[nodiscard]] static ValidationResult Validate(std::string_view text);
    /// The message of a validation fault formatted with its arguments, ending in CR LF.
    [[nodiscard]] std::string validationMessage(const ValidationResult& result) const;

private:
    [[nodiscard]] std::string solveText(std::string_view text, SolveDetails* details);
    /// Gives every line of the message text that ended a solve the message's reason; the lines
    /// before it keep theirs only for the line limit.
    static void addMessageReasons(SolveDetails& details, std::string_view text, ErrorCode error,
                                  bool isValidation);

    std::array<std::string, kMessageCount> m_messages;
    ErrorCode m_lastError = ErrorCode::None;
    std::unique_ptr<SolverBuffers> m_buffers;
};

} // namespace engine
