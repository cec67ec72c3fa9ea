// SPDX-License-Identifier: MIT
// The solving driver: validates and tokenises an equation, then transforms it pass by pass.
#include "engine/solver_buffers.h"

#include "engine/complex_arithmetic.h"
#include "engine/constant_folding.h"
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/token_table.h"
#include "engine/transformations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace engine {
namespace {

constexpr unsigned char kUnknown = 'x';
/// Functions that the inversion step undoes.
constexpr std::array<unsigned char, 9> kInvertedFunctions = {
    token::kAcs, token::kAhc, token::kAhs, token::kAht, token::kAsn,
    token::kAtn, token::kLgt, token::kLog, token::kSqr,
};
/// Safety bounds for loops whose termination rests on the transformations shrinking the equation:
/// far above anything a real equation needs, they only keep a faulty transformation from hanging.
constexpr int kMaxNormaliseRounds = 20000;
constexpr int kMaxSearchFolds = 20000;
constexpr int kMaxSearchIsolations = 2000;

/// What the current pass changed; a change that opens a mode of its own sets that mode.
enum class Change {
    None,            // nothing
    Rewritten,       // folding, a rule of table A or C, a swap of the sides, an isolation step, a letter rule
    FractionCleared, // a division by an expression holding x was multiplied out
    FunctionInverted, // a function around x was undone
    Expanded,         // a rule of table B
    TermMoved,        // a term was moved across the `=`
    SearchSolved,     // the numeric search found x
};

/// Which optional steps (clearing fractions, inverting functions, expanding, moving terms, the
/// numeric search) the next pass may try. After a change of one kind, passes try only that kind
/// until one changes nothing; a pass without change in mode All ends the solve.
enum class Mode {
    Finished,       // no further pass
    All,            // every optional step
    ClearFraction,  // only clearing fractions
    InvertFunction, // only inverting functions
    Expand,         // none of the optional steps
    MoveTerm,       // only moving terms
    Search,         // only the numeric search
};

Mode modeAfter(Change change)
{
    switch (change) {
    case Change::FractionCleared:
        return Mode::ClearFraction;
    case Change::FunctionInverted:
        return Mode::InvertFunction;
    case Change::Expanded:
        return Mode::Expand;
    case Change::TermMoved:
        return Mode::MoveTerm;
    case Change::SearchSolved:
        return Mode::Search;
    case Change::None:
    case Change::Rewritten:
        break;
    }
    return Mode::All;
}

/// The equation is too long when byte 255 is not the terminator or an edit was refused.
bool isTooLong(const PieceString& pieces)
{
    return pieces.hasOverflowed() || pieces.at(kMaxPieces) != 0;
}

/// Simplifies signs and brackets with levels recomputed before every step, until nothing changes;
/// false when the nesting is too deep for the levels.
bool simplifyWithFreshLevels(PieceString& pieces, LevelString& levels)
{
    for (int rounds = 0;; ++rounds) {
        if (!ComputeLevels(pieces, levels))
            return false;
        if (rounds >= kMaxNormaliseRounds || !SimplifySigns(pieces, levels))
            return true;
    }
}

int countPiece(const PieceString& pieces, unsigned char piece, int from = 0)
{
    int count = 0;
    for (int i = from; pieces[i] != 0; ++i)
        count += pieces[i] == piece ? 1 : 0;
    return count;
}

bool containsPiece(const PieceString& pieces, unsigned char piece, int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (pieces[i] == piece)
            return true;
    }
    return false;
}

/// Replaces the content of target by count bytes of source (count may be 0).
void copyPieces(PieceString& target, const unsigned char* source, int count)
{
    target.truncate(0);
    if (count > 0)
        target.insert(0, source, count);
}

/// The lowest level among the pieces before end.
int weakestLevelBefore(const LevelString& levels, int end)
{
    int weakest = 255;
    for (int i = 0; i < end; ++i)
        weakest = std::min(weakest, static_cast<int>(levels[i]));
    return weakest;
}

/// Index where the unknown's side is cut for the next isolation step: the term after the weakest
/// operator when the first term holds x, else the first term (after its sign).
int isolationPosition(const PieceString& pieces, const LevelString& levels, int equals)
{
    const int weakest = weakestLevelBefore(levels, equals);
    if (levels[0] > weakest) {
        int i = 0;
        bool holdsUnknown = false;
        while (i < equals && levels[i] > weakest) {
            holdsUnknown = holdsUnknown || pieces[i] == kUnknown;
            ++i;
        }
        if (holdsUnknown)
            return i + 1;
    }
    return pieces[0] == '-' ? 1 : 0;
}

/// Measures of the equation taken once at the start of a pass.
struct PassMeasure {
    int unknowns = 0; // pieces `x`
    int equals = 0;   // index of `=`
    int length = 0;   // pieces
};

/// The state of one solve and its passes. Works on the solver's buffers.
class SolveRun {
public:
    SolveRun(SolverBuffers& buffers, SolveDetails* details)
        : m_buffers(buffers), m_pieces(buffers.pieces), m_levels(buffers.levels), m_details(details)
    {
        if (details == nullptr)
            return;
        if (!buffers.recorder)
            buffers.recorder = std::make_unique<StepRecorder>();
        m_recorder = buffers.recorder.get();
        *details = {};
    }

    SolveOutcome solve(std::string_view text);

private:
    enum class PassEnd { Continue, Finished, Failed };
    /// Where a pass goes on after the steps every pass tries.
    enum class Next { OptionalSteps, Output, Failed };

    ErrorCode prepare();
    PassEnd runPass();
    bool foldConstants();
    Next runCommonSteps(const PassMeasure& pass);
    void runOptionalSteps(const PassMeasure& pass);
    bool emitLine();
    PassEnd advanceMode();

    [[nodiscard]] bool unchanged() const { return m_change == Change::None; }
    [[nodiscard]] bool modeAllows(Mode step) const { return m_mode == Mode::All || m_mode == step; }
    [[nodiscard]] bool tryRules(const PreparedRuleTable& table, unsigned char letter, int n,
                                RuleFilter filter = RuleFilter::AllRules)
    {
        return tryRuleTable(m_pieces, m_levels, m_buffers.rules, table, letter, n, filter,
                            m_recorder != nullptr ? &m_appliedRule : nullptr);
    }
    bool isolateAt(int position, IsolationRecord* record = nullptr)
    {
        return IsolateStep(m_pieces, m_levels, position, m_buffers.temporary, record);
    }

    // Recording, only while the details of the solve are asked for.
    [[nodiscard]] IsolationRecord* isolationRecord() const
    {
        return m_recorder != nullptr ? &m_recorder->isolationRecord() : nullptr;
    }
    void noteRule(StepKind kind, char table, unsigned char letter = 0)
    {
        if (m_recorder != nullptr)
            m_recorder->noteRule(kind, table, m_appliedRule, letter);
    }
    void noteIsolation(StepKind kind)
    {
        if (m_recorder != nullptr)
            m_recorder->noteIsolation(kind, m_buffers.pool);
    }
    void recordLine();

    void swapSides(int equals, int length);
    void isolateSingleUnknown(int equals);
    [[nodiscard]] bool letterPass();
    [[nodiscard]] bool clearFraction(int equals, int length);
    [[nodiscard]] bool invertFunction(int equals, int length);
    [[nodiscard]] bool moveTerm(int equals, int length);
    [[nodiscard]] bool hasOtherLetter() const;
    [[nodiscard]] bool numericSearch();

    enum class Isolation { Done, LimitReached };
    Isolation isolateForSearch();
    enum class Trial { Value, NotConstant, ArithmeticFailure, Abandoned };
    Trial evaluateTrial(Complex trialValue, Complex& result);
    [[nodiscard]] bool hasSearchForm() const;
    bool acceptSearchResult(Complex trial, int trials);

    SolverBuffers& m_buffers;
    PieceString& m_pieces;
    LevelString& m_levels;

    std::string m_output;
    Change m_change = Change::None;
    Mode m_mode = Mode::All;
    unsigned char m_letterCursor = 'a';
    ErrorCode m_error = ErrorCode::None;

    SolveDetails* m_details;
    StepRecorder* m_recorder = nullptr;
    int m_appliedRule = 0;
};

} // namespace

void SolverBuffers::startSolve()
{
    outputLineCounter = 0;
    for (PieceString* buffer :
         {&pieces, &levels, &temporary, &spare, &rules.marks, &rules.result, &trialCopy, &trialLevels})
        buffer->clearOverflow();
    writePresets(pool);
    writePresets(trialPool);
}

ErrorCode loadEquation(SolverBuffers& buffers, std::string_view text)
{
    writePresets(buffers.pool);
    writePresets(buffers.trialPool);
    const ValidationResult validation = Validate(text);
    if (validation.code != ErrorCode::None)
        return validation.code;
    buffers.pieces.assign(text);
    if (Tokenise(buffers.pieces, buffers.pool) != StoreResult::Stored)
        return ErrorCode::TooManyNumbers;
    if (!ComputeLevels(buffers.pieces, buffers.levels))
        return ErrorCode::TooDeeplyNested;
    return ErrorCode::None;
}

ErrorCode Normalise(SolverBuffers& buffers, unsigned char letter)
{
    // repeat { length check; repeat ComputeLevels while SimplifySigns changes } while CollectTerms changes
    for (int rounds = 0;; ++rounds) {
        if (isTooLong(buffers.pieces))
            return ErrorCode::TooManyPieces;
        if (!simplifyWithFreshLevels(buffers.pieces, buffers.levels))
            return ErrorCode::TooDeeplyNested;
        if (rounds >= kMaxNormaliseRounds ||
            !CollectTerms(buffers.pieces, buffers.levels, letter, buffers.temporary))
            return ErrorCode::None;
    }
}

namespace {

/// The right side of a final x=... without x on it, as the result check needs it; empty otherwise.
void captureFinalSide(const SolverBuffers& buffers, const SolveOutcome& outcome, FinalSide& side)
{
    side.pieces.clear();
    const PieceString& pieces = buffers.pieces;
    if (outcome.error != ErrorCode::None || pieces[0] != kUnknown || pieces[1] != '=' || pieces[2] == 0 ||
        countPiece(pieces, kUnknown, 1) != 0)
        return;
    side.pieces.assign(reinterpret_cast<const char*>(pieces.data()) + 2,
                       static_cast<std::size_t>(pieces.length() - 2));
    side.pool = buffers.pool;
}

} // namespace

bool FinalSide::isConstant(Complex& value) const
{
    if (pieces.size() != 1 || !isConstantToken(static_cast<unsigned char>(pieces[0])))
        return false;
    value = pool.value(static_cast<unsigned char>(pieces[0]));
    return true;
}

SolveOutcome solveEquation(SolverBuffers& buffers, std::string_view text, SolveDetails* details)
{
    SolveOutcome outcome = SolveRun(buffers, details).solve(text);
    if (details != nullptr)
        captureFinalSide(buffers, outcome, details->finalSide);
    return outcome;
}

namespace {

SolveOutcome SolveRun::solve(std::string_view text)
{
    m_buffers.startSolve();
    // The engine reads its input as a NUL-terminated string.
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    SolveOutcome outcome;
    outcome.validation = Validate(text);
    if (outcome.validation.code != ErrorCode::None) {
        outcome.error = outcome.validation.code;
        return outcome;
    }
    m_pieces.assign(text);
    if (Tokenise(m_pieces, m_buffers.pool) != StoreResult::Stored) {
        outcome.error = ErrorCode::TooManyNumbers;
        return outcome;
    }
    outcome.error = prepare();
    PassEnd end = outcome.error == ErrorCode::None ? PassEnd::Continue : PassEnd::Failed;
    while (end == PassEnd::Continue)
        end = runPass();
    if (end == PassEnd::Failed && outcome.error == ErrorCode::None)
        outcome.error = m_error;
    // An error drops the lines, except the line limit, whose message follows them.
    if (outcome.error == ErrorCode::None || outcome.error == ErrorCode::TooManyLines)
        outcome.lines = std::move(m_output);
    return outcome;
}

ErrorCode SolveRun::prepare()
{
    // The first line shows the equation as entered: it is produced after the first successful
    // level computation, before any simplification.
    if (isTooLong(m_pieces))
        return ErrorCode::TooManyPieces;
    if (!ComputeLevels(m_pieces, m_levels))
        return ErrorCode::TooDeeplyNested;
    static_cast<void>(appendLine(m_output, m_pieces, m_levels, kFunctionTokenTable, m_buffers.pool,
                                 m_buffers.outputLineCounter));
    if (m_recorder != nullptr) {
        m_recorder->noteEquation();
        recordLine();
    }
    const ErrorCode error = Normalise(m_buffers, kUnknown);
    m_mode = Mode::All;
    m_letterCursor = 'a';
    return error;
}

SolveRun::PassEnd SolveRun::runPass()
{
    // 1. Measure the equation once for the whole pass.
    m_change = Change::None;
    const PassMeasure pass{countPiece(m_pieces, kUnknown), FindPiece(m_pieces, '='), FindPiece(m_pieces, 0)};

    if (!foldConstants())
        return PassEnd::Failed;
    switch (runCommonSteps(pass)) {
    case Next::OptionalSteps:
        runOptionalSteps(pass);
        break;
    case Next::Output:
        break;
    case Next::Failed:
        return PassEnd::Failed;
    }
    if (!emitLine())
        return PassEnd::Failed;
    return advanceMode();
}

/// 2. Folds one constant sub-expression; false when the fold failed.
bool SolveRun::foldConstants()
{
    const EvaluationResult folded = EvaluateConstants(
        m_pieces, m_levels, m_buffers.pool, m_recorder != nullptr ? &m_recorder->foldRecord() : nullptr);
    if (isArithmeticFailure(folded) || folded == EvaluationResult::PoolFull) {
        m_error = foldingError(folded);
        return false;
    }
    if (folded == EvaluationResult::Folded) {
        m_change = Change::Rewritten;
        if (m_recorder != nullptr)
            m_recorder->noteFold();
    }
    return true;
}

/// Steps 3 to 8, which every pass tries.
SolveRun::Next SolveRun::runCommonSteps(const PassMeasure& pass)
{
    // 3. Collect like terms while x occurs more than once.
    if (pass.unknowns >= 2 && unchanged() && tryRules(preparedRuleSetA(), kUnknown, pass.length)) {
        m_change = Change::Rewritten;
        noteRule(StepKind::Rule, 'A');
    }
    // 4. Complete the square when x occurs exactly twice.
    if (pass.unknowns == 2 && !unchanged())
        return Next::OptionalSteps;
    if (pass.unknowns == 2 && tryRules(preparedRuleSetC(), kUnknown, pass.length)) {
        m_change = Change::Rewritten;
        noteRule(StepKind::Rule, 'C');
        return Next::OptionalSteps;
    }
    // 5. Put x on the left.
    if (pass.unknowns >= 1 && unchanged() && !containsPiece(m_pieces, kUnknown, 0, pass.equals)) {
        swapSides(pass.equals, pass.length);
        m_change = Change::Rewritten;
        if (m_recorder != nullptr)
            m_recorder->noteSwap();
    }
    if (pass.unknowns >= 2)
        return Next::OptionalSteps;
    // 6. A single x is isolated one operation at a time; x=... ends the pass's work.
    if (pass.unknowns == 1) {
        if (unchanged())
            isolateSingleUnknown(pass.equals);
        if (m_pieces[0] == kUnknown && m_pieces[1] == '=')
            return Next::Output;
    }
    // 7. The other letters, each with the collecting rules.
    if (unchanged()) {
        if (letterPass())
            m_change = Change::Rewritten;
        if (m_error != ErrorCode::None)
            return Next::Failed;
    }
    // 8. Nothing further for a single x.
    return Next::Output;
}

/// Steps 9 to 12, each only in its mode and while the pass has changed nothing.
void SolveRun::runOptionalSteps(const PassMeasure& pass)
{
    // 9. Clear a fraction whose divisor holds x.
    if (modeAllows(Mode::ClearFraction) && unchanged() && clearFraction(pass.equals, pass.length))
        m_change = Change::FractionCleared;
    // 10. Invert a function around x.
    if (modeAllows(Mode::InvertFunction) && unchanged() && invertFunction(pass.equals, pass.length))
        m_change = Change::FunctionInverted;
    // 11. Expand products and powers, else move a term across the `=`.
    if (m_mode == Mode::All && unchanged() && tryRules(preparedRuleSetB(), kUnknown, pass.length)) {
        m_change = Change::Expanded;
        noteRule(StepKind::Expand, 'B');
    }
    if (modeAllows(Mode::MoveTerm) && unchanged() && moveTerm(pass.equals, pass.length))
        m_change = Change::TermMoved;
    // 12. Numeric search for x=f(x), only while x is the only letter.
    if (pass.unknowns >= 2 && modeAllows(Mode::Search) && unchanged() && !hasOtherLetter() && numericSearch())
        m_change = Change::SearchSolved;
}

/// 13. A pass that changed something appends the normalised equation as a line.
bool SolveRun::emitLine()
{
    if (unchanged())
        return true;
    m_error = Normalise(m_buffers, kUnknown);
    if (m_error != ErrorCode::None)
        return false;
    if (!appendLine(m_output, m_pieces, m_levels, kFunctionTokenTable, m_buffers.pool,
                    m_buffers.outputLineCounter)) {
        m_error = ErrorCode::TooManyLines;
        return false;
    }
    if (m_recorder != nullptr)
        recordLine();
    return true;
}

/// The line just appended takes the pending reason.
void SolveRun::recordLine()
{
    m_details->reasons.push_back(m_recorder->pending());
}

/// 14. The mode for the next pass.
SolveRun::PassEnd SolveRun::advanceMode()
{
    if (m_change != Change::None && m_change != Change::Rewritten)
        m_mode = modeAfter(m_change);
    else if (m_change == Change::None)
        m_mode = m_mode == Mode::All ? Mode::Finished : Mode::All;
    return m_mode == Mode::Finished ? PassEnd::Finished : PassEnd::Continue;
}

void SolveRun::swapSides(int equals, int length)
{
    PieceString& temporary = m_buffers.temporary;
    copyPieces(temporary, m_pieces.data() + equals + 1, length - equals - 1);
    temporary.insert(temporary.length(), '=');
    if (equals > 0)
        temporary.insert(temporary.length(), m_pieces.data(), equals);
    copyPieces(m_pieces, temporary.data(), temporary.length());
}

void SolveRun::isolateSingleUnknown(int equals)
{
    // A left side that is a single operand has nothing to move.
    if (weakestLevelBefore(m_levels, equals) >= 7)
        return;
    static_cast<void>(isolateAt(isolationPosition(m_pieces, m_levels, equals), isolationRecord()));
    m_change = Change::Rewritten;
    noteIsolation(StepKind::Isolate);
}

bool SolveRun::letterPass()
{
    while (m_letterCursor <= 'z') {
        if (FindPiece(m_pieces, m_letterCursor) >= 0) {
            // Its normalisation alone does not count as a change.
            m_error = Normalise(m_buffers, m_letterCursor);
            if (m_error != ErrorCode::None)
                return false;
            if (tryRules(preparedRuleSetA(), m_letterCursor, FindPiece(m_pieces, 0),
                         RuleFilter::NoRuleAddingLetters)) {
                noteRule(StepKind::Collect, 'A', m_letterCursor);
                return true;
            }
        }
        // x is the unknown, never a letter of this pass.
        m_letterCursor = m_letterCursor == 'w' ? 'y' : static_cast<unsigned char>(m_letterCursor + 1);
    }
    return false;
}

bool SolveRun::clearFraction(int equals, int length)
{
    for (int slash = 1; slash < length; ++slash) {
        if (m_pieces[slash] != '/' || m_levels[slash] != 2 || m_levels[slash + 1] <= 2)
            continue;
        const int divisorStart = slash + 1;
        int divisorEnd = divisorStart;
        while (m_levels[divisorEnd] > 2)
            ++divisorEnd;
        if (!containsPiece(m_pieces, kUnknown, divisorStart, divisorEnd))
            continue;
        // The divisor is copied aside: the edits below shift it.
        PieceString& divisor = m_buffers.spare;
        copyPieces(divisor, m_pieces.data() + divisorStart, divisorEnd - divisorStart);
        const int divisorLength = divisorEnd - divisorStart;
        int termEnd = divisorStart + 1;
        while (m_levels[termEnd] > 1)
            ++termEnd;
        // Multiply every additive term on both sides by the divisor, from the right so that the
        // positions still to visit keep their original pieces; the term holding the division
        // loses it instead. The levels are those of the equation before the edit.
        for (int m = length; m >= 1; --m) {
            if (m == termEnd) {
                m_pieces.erase(slash, 1 + divisorLength);
            } else if ((m_levels[m] == 1 && m_pieces[m - 1] != '=') || m == equals || m == length) {
                m_pieces.insert(m, divisor.data(), divisorLength);
                m_pieces.insert(m, '*');
            }
        }
        if (m_recorder != nullptr)
            m_recorder->noteClearedFraction(divisor, m_buffers.pool);
        return true;
    }
    return false;
}

bool SolveRun::invertFunction(int equals, int length)
{
    for (int f = 0; f < length; ++f) {
        const unsigned char token = m_pieces[f];
        if (std::find(kInvertedFunctions.begin(), kInvertedFunctions.end(), token) ==
                kInvertedFunctions.end() ||
            m_levels[f] >= 16)
            continue;
        const int open = f + 1;
        int close = open + 1;
        while (close < length && m_levels[close] != m_levels[open])
            ++close;
        if (!containsPiece(m_pieces, kUnknown, open, close))
            continue;
        if (m_levels[f] >= 8) {
            // Inside a top-level group: only when the group is a term or a factor.
            int groupOpen = f - 1;
            while (groupOpen > 0 && m_levels[groupOpen] != 8)
                --groupOpen;
            int groupClose = close + 1;
            while (groupClose < length && m_levels[groupClose] != 8)
                ++groupClose;
            const int before = groupOpen > 0 ? m_levels[groupOpen - 1] : 0;
            const int after = m_levels[groupClose + 1];
            if (std::max(before, after) > 2)
                continue;
        }
        const bool left = close < equals;
        const int sideStart = left ? 0 : equals + 1;
        const int sideEnd = left ? equals : length;
        int weakest = sideStart;
        for (int i = sideStart; i < sideEnd; ++i) {
            if (m_levels[i] <= m_levels[weakest])
                weakest = i;
        }
        int position = weakest < close ? sideStart : weakest;
        if (m_levels[position] <= 2)
            ++position;
        static_cast<void>(isolateAt(position, isolationRecord()));
        noteIsolation(StepKind::InvertFunction);
        return true;
    }
    return false;
}

bool SolveRun::moveTerm(int equals, int length)
{
    // The weakest operator apart from the first piece of each side (a sign) and the `=`.
    int weakestLevel = 256;
    int weakest = -1;
    for (int i = 1; i < length; ++i) {
        if (i == equals || i == equals + 1)
            continue;
        if (m_levels[i] <= weakestLevel) {
            weakestLevel = m_levels[i];
            weakest = i;
        }
    }
    if (weakest < 0 || weakestLevel > 4)
        return false;
    const bool left = weakest < equals;
    const int sideStart = left ? 0 : equals + 1;
    const int sideEnd = left ? equals : length;
    // Terms from the right: a constant term leaves the left side, a term with x the right side.
    int i = sideEnd - 1;
    while (i >= sideStart) {
        if (m_levels[i] <= weakestLevel) {
            --i;
            continue;
        }
        const int termEnd = i + 1;
        while (i >= sideStart && m_levels[i] > weakestLevel)
            --i;
        const int termStart = i + 1;
        if (containsPiece(m_pieces, kUnknown, termStart, termEnd) != left) {
            static_cast<void>(isolateAt(termStart, isolationRecord()));
            noteIsolation(StepKind::MoveTerm);
            return true;
        }
    }
    return false;
}

bool SolveRun::hasOtherLetter() const
{
    for (int i = 0; m_pieces[i] != 0; ++i) {
        if (isLetter(m_pieces[i]) && m_pieces[i] != kUnknown)
            return true;
    }
    return false;
}

bool SolveRun::hasSearchForm() const
{
    return m_pieces[0] == kUnknown && m_pieces[1] == '=' && countPiece(m_pieces, kUnknown, 2) > 0;
}

SolveRun::Isolation SolveRun::isolateForSearch()
{
    PieceString& before = m_buffers.spare;
    for (int step = 0; step < kMaxSearchIsolations; ++step) {
        // Sign simplification never lengthens the equation, so one length check suffices.
        if (isTooLong(m_pieces) || !simplifyWithFreshLevels(m_pieces, m_levels))
            return Isolation::LimitReached;
        const int equals = FindPiece(m_pieces, '=');
        if (equals <= 0)
            return Isolation::LimitReached;
        copyPieces(before, m_pieces.data(), m_pieces.length());
        const int position = isolationPosition(m_pieces, m_levels, equals);
        if (!isolateAt(position))
            return Isolation::Done;
        // A step that reports a move but moved nothing would repeat for ever.
        if (m_pieces.view() == before.view())
            return Isolation::Done;
    }
    return Isolation::Done;
}

SolveRun::Trial SolveRun::evaluateTrial(Complex trialValue, Complex& result)
{
    const ConstantPool& pool = m_buffers.pool;
    TrialPool& trialPool = m_buffers.trialPool;
    PieceString& copy = m_buffers.trialCopy;
    LevelString& copyLevels = m_buffers.trialLevels;

    // The equation's own constants keep their codes in the trial pool.
    for (int i = 1; m_pieces[i] != 0; ++i) {
        const unsigned char code = m_pieces[i];
        if (code > kMinusTwo) {
            const auto entry = static_cast<std::size_t>(code - 0x80);
            trialPool.re[entry] = pool.re[entry];
            trialPool.im[entry] = pool.im[entry];
        }
    }
    // The right side of x=f(x), with every x replaced by the trial value.
    copyPieces(copy, m_pieces.data() + 2, m_pieces.length() - 2);
    const int first = FindPiece(copy, kUnknown);
    if (first < 0)
        return Trial::Abandoned;
    if (StoreConstant(copy, first, trialPool, trialValue) != StoreResult::Stored)
        return Trial::Abandoned;
    const unsigned char token = copy[first];
    for (int i = first + 1; copy[i] != 0; ++i) {
        if (copy[i] == kUnknown)
            copy.set(i, token);
    }

    EvaluationResult r = EvaluationResult::Unchanged;
    int folds = 0;
    do {
        if (!simplifyWithFreshLevels(copy, copyLevels))
            return Trial::Abandoned;
        r = EvaluateConstants(copy, copyLevels, trialPool);
    } while (r == EvaluationResult::Folded && ++folds < kMaxSearchFolds);

    if (isArithmeticFailure(r))
        return Trial::ArithmeticFailure;
    if (r != EvaluationResult::Unchanged)
        return Trial::Abandoned;
    if (copy.length() != 1 || !isConstantToken(copy[0]))
        return Trial::NotConstant;
    result = trialPool.value(copy[0]);
    return Trial::Value;
}

bool SolveRun::numericSearch()
{
    // Fixed-point iteration of x=f(x): trials 127-64 on the form isolated from the equation,
    // 63-0 on the form isolated from f(x)=x; each form starts from 0 and then from ln 2.
    Complex trial{};
    bool lastTrial = false;
    int trials = 0;
    for (int c = 127; c >= 0; --c) {
        if (c == 127 || c == 63) {
            if (c == 63) {
                m_pieces.erase(0, 2);
                m_pieces.insert(m_pieces.length(), "=x");
            }
            if (isolateForSearch() == Isolation::LimitReached)
                lastTrial = true;
            if (!hasSearchForm())
                return false;
            trial = {};
        }
        if (c == 125 || c == 61)
            trial = {std::log(2.0), 0.0};

        Complex value{};
        ++trials;
        switch (evaluateTrial(trial, value)) {
        case Trial::Abandoned:
            return false;
        case Trial::ArithmeticFailure:
            if (c <= 60)
                return false;
            if (c >= 64 && c <= 124)
                c = 64; // the next trial is the first one of the second form
            trial = {};
            break;
        case Trial::NotConstant:
            trial = {};
            break;
        case Trial::Value:
            if (ApproxEqual(trial.re + trial.im, value.re + trial.im) &&
                ApproxEqual(trial.re + trial.im, value.im + trial.re))
                return acceptSearchResult(trial, trials);
            trial = value;
            break;
        }
        if (lastTrial)
            return false;
    }
    return false;
}

/// Ends the search with x = the converged trial value (found at the given trial count), a part
/// negligible next to the whole dropped.
bool SolveRun::acceptSearchResult(Complex trial, int trials)
{
    if (ApproxEqual(trial.re, trial.re + trial.im))
        trial.im = 0.0;
    if (ApproxEqual(trial.im, trial.re + trial.im))
        trial.re = 0.0;
    m_pieces.truncate(0);
    const unsigned char solution[] = {kUnknown, '=', kZero};
    m_pieces.insert(0, solution, 3);
    const bool isStored = StoreConstant(m_pieces, 2, m_buffers.pool, trial) == StoreResult::Stored;
    // The value as stored: a preset within the tolerance takes the preset's value.
    if (m_recorder != nullptr)
        m_recorder->noteSearch(trials, m_buffers.pool.value(m_pieces[2]));
    return isStored;
}

} // namespace
} // namespace engine
