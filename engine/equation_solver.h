// SPDX-License-Identifier: MIT
// The equation engine: validates, tokenises and solves one equation in x, returning its derivation.
#pragma once

#include "complex_value.h"
#include "piece_string.h"
#include "token_table.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace engine {

/// Outcome of `Validate`: code 0 when the text is accepted, else the ERROR code (2-23) with the
/// arguments its message takes (position, up to two characters, the three letters of ERROR 16).
struct ValidationResult {
    int code = 0;
    int position = 0;
    char first = 0;
    char second = 0;
    std::array<char, 4> letters{};
};

/// Result codes of `EvaluateConstants`. The driver reports code r >= 2 as ERROR r + 25.
enum class EvaluationResult : int {
    Unchanged = 0,      // nothing could be folded
    Folded = 1,         // exactly one folding step was made
    Overflow = 2,       // a part beyond 10^18, or an exponential overflowed
    DivisionByZero = 3, // division by 0 (also an exact pole of tan or htn)
    LogOfZero = 4,      // log of 0 (also a failing inner logarithm of acs, ahc, ahs, asn)
    LgtOfZero = 5,      // lgt of 0
    AtnOfI = 6,         // atn of sqr(-1) or -sqr(-1)
    AhtOfOne = 7,       // aht of 1 or -1
    PoolFull = 9,       // all 117 codes 0x8B-0xFF in use (ERROR 34)
};

/// Outcome of `StoreConstant`.
enum class StoreResult {
    Stored,   // the token was written
    Overflow, // a part exceeds 10^18 in magnitude; nothing written
    PoolFull, // the value needs a new code and all 117 are in use; nothing written
};

/// Error codes raised by the driver itself, beyond the validation codes 2-23.
inline constexpr int kErrorTooLong = 25;
inline constexpr int kErrorNesting = 26;
inline constexpr int kErrorTooManyLines = 33;
inline constexpr int kErrorPoolFull = 34;
inline constexpr int kMessageCount = 40;
/// The 254th line is the last one a solve may produce.
inline constexpr int kLineLimit = 255;
inline constexpr int kMaxPieces = 255;

/// The equation solver. One object solves one equation at a time (`Solve`), on its own buffers;
/// it is not reentrant. Its message table starts with the built-in English texts and is changed
/// only through `SetMessage`.
///
/// Besides the entry point the class exposes the building blocks the solve is made of; they work
/// on the buffers passed to them (normally the object's own, see the accessors), make at most one
/// change per call and report what they did.
class EquationSolver {
public:
    EquationSolver();

    // ---- entry points -------------------------------------------------------------------------

    /// Solves the prepared equation text (bytes 33-127, "." as decimal point). Returns the solution
    /// lines (each ending in CR LF), or one error message, or the lines followed by ERROR 33.
    std::string Solve(std::string_view text);
    /// The error code that ended the last `Solve` (0 when it ended without an error message).
    [[nodiscard]] int lastError() const { return m_lastError; }

    /// Stores message k (0-39) with CR LF appended; other indexes are ignored.
    void SetMessage(int index, std::string_view text);
    [[nodiscard]] const std::string& message(int index) const;
    /// The built-in English text of ERROR k (without CR LF), or an empty view for unused codes.
    [[nodiscard]] static std::string_view defaultMessage(int code);

    /// Removes every byte below 33 or above 127.
    [[nodiscard]] static std::string StripEquation(std::string_view text);
    /// Dresses a solution text: blanks around operators, line numbers, equivalence prefix.
    [[nodiscard]] static std::string DecorateSolution(std::string_view solution, bool addSpaces,
                                                      bool showEquivalence, std::string_view equivalence,
                                                      bool addLineNumbers);

    // ---- validation and tokens ----------------------------------------------------------------

    /// Checks the text in one left-to-right scan and reports the first fault.
    [[nodiscard]] ValidationResult Validate(std::string_view text) const;
    /// The message of a validation fault (or of any code), formatted with its arguments.
    [[nodiscard]] std::string validationMessage(const ValidationResult& result) const;
    /// Turns the validated text held in `pieces()` into pieces, storing its numbers in the pool.
    /// Fails only when the pool runs out of codes.
    [[nodiscard]] StoreResult Tokenise();
    /// Validates, tokenises and computes levels into the object's buffers without producing a
    /// line: the state a solve starts its passes from. Returns 0 or the error code.
    int loadEquation(std::string_view text);

    static bool InsertPieces(PieceString& destination, int position, const unsigned char* source, int count);
    static void DeletePieces(PieceString& string, int position, int count);
    /// Index of the first occurrence of piece, or -1; for piece 0 the length.
    [[nodiscard]] static int FindPiece(const PieceString& string, unsigned char piece);
    /// Fills levels for pieces; false when a level would reach 248 (nesting depth 31).
    [[nodiscard]] static bool ComputeLevels(const PieceString& pieces, LevelString& levels);
    [[nodiscard]] static bool ApproxEqual(double a, double b);
    /// Writes the token of value at pieces[position], reusing or allocating a pool code.
    [[nodiscard]] static StoreResult StoreConstant(PieceString& pieces, int position, ConstantPool& pool,
                                                   Complex value);

    // ---- numeric evaluation -------------------------------------------------------------------

    static void AddComplex(Complex& z, Complex w);
    static void MultiplyComplex(Complex& z, Complex w);
    [[nodiscard]] static bool InvertComplex(Complex& z);
    static void SqrtComplex(Complex& z);
    [[nodiscard]] static bool LogComplex(Complex& z);
    [[nodiscard]] static bool ExpComplex(Complex& z);
    /// Folds one constant sub-expression. levels must be current for pieces.
    [[nodiscard]] static EvaluationResult EvaluateConstants(PieceString& pieces, const LevelString& levels,
                                                            ConstantPool& pool);

    // ---- formatting ---------------------------------------------------------------------------

    [[nodiscard]] static std::string FormatDecimal(double value);
    /// Renders pieces as a line ending in CR LF and counts it; empty once the counter reaches 255.
    [[nodiscard]] std::string FormatLine(const PieceString& pieces, const LevelString& levels,
                                         std::string_view tokenTable, const ConstantPool& pool);
    /// The rendering alone, without CR LF and without counting.
    [[nodiscard]] static std::string renderPieces(const PieceString& pieces, const LevelString& levels,
                                                  const ConstantPool& pool);
    [[nodiscard]] int outputLineCounter() const { return m_outputLineCounter; }
    void resetOutputLineCounter() { m_outputLineCounter = 0; }

    // ---- transformations ----------------------------------------------------------------------

    [[nodiscard]] static bool SimplifySigns(PieceString& pieces, const LevelString& levels);
    [[nodiscard]] static bool CollectTerms(PieceString& pieces, const LevelString& levels,
                                           unsigned char letter, PieceString& scratch);
    [[nodiscard]] static bool IsolateStep(PieceString& pieces, const LevelString& levels, int position,
                                          PieceString& scratch);

    // ---- rewrite rules ------------------------------------------------------------------------

    /// Matches pattern P (levels PL) with its anchor at E[p] and replaces the match by R, letter u
    /// playing the unknown. On failure E is unchanged. M and result are scratch strings.
    [[nodiscard]] static bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P,
                                        const LevelString& PL, std::string_view R, unsigned char u,
                                        PieceString& M, PieceString& result);
    /// Tries the rules of table in order on the object's equation (`pieces()`, with current
    /// `levels()`), letter playing the unknown: each rule at every piece equal to its anchor, from
    /// position n-1 down to 0. The first rule that applies rewrites the equation (levels are then
    /// stale), stores its table index in appliedRule when given, and ends the attempt with true.
    /// skipRulesAddingLetters passes over rules whose replacement names more letters than their
    /// pattern (the letter pass). An empty rule ends the table.
    [[nodiscard]] bool tryRuleTable(std::span<const std::string_view> table, unsigned char letter, int n,
                                    bool skipRulesAddingLetters, int* appliedRule = nullptr);

    // ---- driver -------------------------------------------------------------------------------

    /// Checks the length and re-normalises signs, brackets and term order for letter.
    /// Returns 0, or ERROR 25 / 26.
    [[nodiscard]] int Normalise(unsigned char letter);

    // ---- the object's buffers -----------------------------------------------------------------

    [[nodiscard]] PieceString& pieces() { return m_pieces; }
    [[nodiscard]] LevelString& levels() { return m_levels; }
    [[nodiscard]] PieceString& scratch() { return m_temporary; }
    [[nodiscard]] ConstantPool& constantPool() { return m_pool; }
    [[nodiscard]] TrialPool& trialPool() { return m_trialPool; }
    /// Writes the presets 0x81-0x8A into both pools.
    void writePresets();

private:
    friend class SolveRun;

    std::array<std::string, kMessageCount> m_messages;
    int m_outputLineCounter = 0;
    int m_lastError = 0;

    PieceString m_pieces;
    LevelString m_levels;
    PieceString m_temporary;
    PieceString m_pattern;
    LevelString m_patternLevels;
    PieceString m_replacement;
    PieceString m_marks;
    PieceString m_ruleResult;
    ConstantPool m_pool;
    TrialPool m_trialPool;
};

} // namespace engine
