// SPDX-License-Identifier: MIT
// The solving driver: validates and tokenises an equation, then transforms it pass by pass.
#include "equation_solver.h"

#include "rule_tables.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

constexpr unsigned char kUnknown = 'x';
/// Functions that the inversion step undoes: acs, ahc, ahs, aht, asn, atn, lgt, log, sqr.
constexpr std::string_view kInvertedFunctions = "!#$&,:]{}";
/// Safety bounds for loops whose termination rests on the transformations shrinking the equation:
/// far above anything a real equation needs, they only keep a faulty transformation from hanging.
constexpr int kMaxNormaliseRounds = 20000;
constexpr int kMaxSearchFolds = 20000;
constexpr int kMaxSearchIsolations = 2000;

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
        if (!EquationSolver::ComputeLevels(pieces, levels))
            return false;
        if (rounds >= kMaxNormaliseRounds || !EquationSolver::SimplifySigns(pieces, levels))
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

bool isArithmeticFailure(EvaluationResult r)
{
    const int code = static_cast<int>(r);
    return code >= static_cast<int>(EvaluationResult::Overflow) &&
           code <= static_cast<int>(EvaluationResult::AhtOfOne);
}

/// Replaces the content of target by count bytes of source (count may be 0).
void copyPieces(PieceString& target, const unsigned char* source, int count)
{
    target.truncate(0);
    if (count > 0)
        target.insert(0, source, count);
}

/// Index where the unknown's side is cut for the next isolation step: the term after the weakest
/// operator when the first term holds x, else the first term (after its sign).
int isolationPosition(const PieceString& pieces, const LevelString& levels, int equals)
{
    int weakest = 255;
    for (int i = 0; i < equals; ++i)
        weakest = std::min(weakest, static_cast<int>(levels[i]));
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

} // namespace

/// The state of one solve and its passes. Works on the solver's buffers.
class SolveRun {
public:
    explicit SolveRun(EquationSolver& solver)
        : m_solver(solver), m_pieces(solver.m_pieces), m_levels(solver.m_levels)
    {
    }

    std::string solve(std::string_view text);

private:
    enum class PassEnd { Continue, Finished, Failed };

    PassEnd runPass();
    int prepare();
    void swapSides(int equals, int length);
    [[nodiscard]] bool letterPass(int& errorCode);
    [[nodiscard]] bool clearFraction(int equals, int length);
    [[nodiscard]] bool invertFunction(int equals, int length);
    [[nodiscard]] bool moveTerm(int equals, int length);
    [[nodiscard]] bool numericSearch();

    enum class Isolation { Done, LimitReached };
    Isolation isolateForSearch();
    enum class Trial { Value, NotConstant, ArithmeticFailure, Abandoned };
    Trial evaluateTrial(Complex trialValue, Complex& result);
    [[nodiscard]] bool hasSearchForm() const;

    /// Ends the solve with error code, returning its message alone.
    std::string fail(int code)
    {
        m_solver.m_lastError = code;
        return m_solver.message(code);
    }

    EquationSolver& m_solver;
    PieceString& m_pieces;
    LevelString& m_levels;

    std::string m_output;
    int m_change = 0;
    int m_mode = 1;
    unsigned char m_letterCursor = 'a';
    int m_error = 0;
};

std::string EquationSolver::Solve(std::string_view text)
{
    SolveRun run(*this);
    return run.solve(text);
}

int EquationSolver::Normalise(unsigned char letter)
{
    // repeat { length check; repeat ComputeLevels while SimplifySigns changes } while CollectTerms changes
    for (int rounds = 0;; ++rounds) {
        if (isTooLong(m_pieces))
            return kErrorTooLong;
        if (!simplifyWithFreshLevels(m_pieces, m_levels))
            return kErrorNesting;
        if (rounds >= kMaxNormaliseRounds || !CollectTerms(m_pieces, m_levels, letter, m_temporary))
            return 0;
    }
}

std::string SolveRun::solve(std::string_view text)
{
    m_solver.m_outputLineCounter = 0;
    m_solver.m_lastError = 0;
    for (PieceString* buffer :
         {&m_solver.m_pieces, &m_solver.m_levels, &m_solver.m_temporary, &m_solver.m_pattern,
          &m_solver.m_patternLevels, &m_solver.m_replacement, &m_solver.m_marks, &m_solver.m_ruleResult})
        buffer->clearOverflow();
    m_solver.writePresets();

    // The engine reads its input as a NUL-terminated string.
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const ValidationResult validation = m_solver.Validate(text);
    if (validation.code != 0) {
        m_solver.m_lastError = validation.code;
        return m_solver.validationMessage(validation);
    }
    m_pieces.assign(text);
    if (m_solver.Tokenise() != StoreResult::Stored)
        return fail(kErrorPoolFull);

    if (const int code = prepare(); code != 0)
        return fail(code);
    m_mode = 1;
    m_letterCursor = 'a';
    for (;;) {
        switch (runPass()) {
        case PassEnd::Continue:
            break;
        case PassEnd::Finished:
            return m_output;
        case PassEnd::Failed:
            if (m_error == kErrorTooManyLines) {
                m_solver.m_lastError = m_error;
                return m_output + m_solver.message(kErrorTooManyLines);
            }
            return fail(m_error);
        }
    }
}

int SolveRun::prepare()
{
    // The first line shows the equation as entered: it is produced after the first successful
    // level computation, before any simplification.
    if (isTooLong(m_pieces))
        return kErrorTooLong;
    if (!EquationSolver::ComputeLevels(m_pieces, m_levels))
        return kErrorNesting;
    m_output += m_solver.FormatLine(m_pieces, m_levels, kFunctionTokenTable, m_solver.m_pool);
    return m_solver.Normalise(kUnknown);
}

SolveRun::PassEnd SolveRun::runPass()
{
    // 1. Measure the equation once for the whole pass.
    m_change = 0;
    const int unknowns = countPiece(m_pieces, kUnknown);
    const int equals = EquationSolver::FindPiece(m_pieces, '=');
    const int length = EquationSolver::FindPiece(m_pieces, 0);

    // 2. Fold one constant sub-expression.
    const EvaluationResult folded = EquationSolver::EvaluateConstants(m_pieces, m_levels, m_solver.m_pool);
    if (isArithmeticFailure(folded) || folded == EvaluationResult::PoolFull) {
        m_error = static_cast<int>(folded) + 25;
        return PassEnd::Failed;
    }
    if (folded == EvaluationResult::Folded)
        m_change = 1;

    // 3. Collect like terms while x occurs more than once.
    if (unknowns >= 2 && m_change == 0 && m_solver.tryRuleTable(kRuleSetA, kUnknown, length, false))
        m_change = 1;

    // 4. Complete the square when x occurs exactly twice; 5. put x on the left.
    bool toFractions = false;
    bool swapStep = false;
    if (unknowns == 2) {
        if (m_change != 0) {
            toFractions = true;
        } else if (m_solver.tryRuleTable(kRuleSetC, kUnknown, length, false)) {
            m_change = 1;
            toFractions = true;
        } else {
            swapStep = true;
        }
    } else {
        swapStep = unknowns >= 1 && m_change == 0;
    }

    bool toOutput = false;
    if (!toFractions) {
        if (swapStep && !containsPiece(m_pieces, kUnknown, 0, equals)) {
            swapSides(equals, length);
            m_change = 1;
        }
        // 6. A single x is isolated one operation at a time.
        if (unknowns == 1) {
            if (m_change == 0) {
                int weakest = 255;
                for (int i = 0; i < equals; ++i)
                    weakest = std::min(weakest, static_cast<int>(m_levels[i]));
                if (weakest < 7) {
                    const int position = isolationPosition(m_pieces, m_levels, equals);
                    static_cast<void>(
                        EquationSolver::IsolateStep(m_pieces, m_levels, position, m_solver.m_temporary));
                    m_change = 1;
                }
            }
            toOutput = m_pieces[0] == kUnknown && m_pieces[1] == '=';
        } else if (unknowns >= 2) {
            toFractions = true;
        }
        // 7. The other letters, each with the collecting rules.
        if (!toFractions && !toOutput && m_change == 0) {
            int code = 0;
            if (letterPass(code))
                m_change = 1;
            if (code != 0) {
                m_error = code;
                return PassEnd::Failed;
            }
        }
        // 8. Nothing further for a single x.
        if (unknowns <= 1)
            toOutput = true;
    }

    if (!toOutput) {
        // 9. Clear a fraction whose divisor holds x.
        if ((m_mode == 1 || m_mode == 2) && m_change == 0 && clearFraction(equals, length))
            m_change = 2;
        // 10. Invert a function around x.
        if ((m_mode == 1 || m_mode == 3) && m_change == 0 && invertFunction(equals, length))
            m_change = 3;
        // 11. Expand products and powers, else move a term across the `=`.
        bool expanded = false;
        if (m_mode == 1 && m_change == 0 && m_solver.tryRuleTable(kRuleSetB, kUnknown, length, false)) {
            m_change = 4;
            expanded = true;
        }
        if (((m_mode == 1 && !expanded) || m_mode == 5) && m_change == 0 && moveTerm(equals, length))
            m_change = 5;
        // 12. Numeric search for x=f(x).
        if (unknowns >= 2 && (m_mode == 1 || m_mode == 6) && m_change == 0) {
            bool otherLetter = false;
            for (int i = 0; m_pieces[i] != 0; ++i)
                otherLetter = otherLetter || (isLetter(m_pieces[i]) && m_pieces[i] != kUnknown);
            if (!otherLetter && numericSearch())
                m_change = 6;
        }
    }

    // 13. Output.
    if (m_change != 0) {
        if (const int code = m_solver.Normalise(kUnknown); code != 0) {
            m_error = code;
            return PassEnd::Failed;
        }
        const std::string line =
            m_solver.FormatLine(m_pieces, m_levels, kFunctionTokenTable, m_solver.m_pool);
        if (line.empty()) {
            m_error = kErrorTooManyLines;
            return PassEnd::Failed;
        }
        m_output += line;
    }

    // 14. Mode for the next pass.
    if (m_change >= 2)
        m_mode = m_change;
    else if (m_change == 0)
        m_mode = m_mode >= 2 ? 1 : 0;
    return m_mode == 0 ? PassEnd::Finished : PassEnd::Continue;
}

void SolveRun::swapSides(int equals, int length)
{
    PieceString& temporary = m_solver.m_temporary;
    copyPieces(temporary, m_pieces.data() + equals + 1, length - equals - 1);
    temporary.insert(temporary.length(), '=');
    if (equals > 0)
        temporary.insert(temporary.length(), m_pieces.data(), equals);
    copyPieces(m_pieces, temporary.data(), temporary.length());
}

bool SolveRun::letterPass(int& errorCode)
{
    while (m_letterCursor <= 'z') {
        if (EquationSolver::FindPiece(m_pieces, m_letterCursor) >= 0) {
            // Its normalisation alone does not count as a change.
            errorCode = m_solver.Normalise(m_letterCursor);
            if (errorCode != 0)
                return false;
            const int length = EquationSolver::FindPiece(m_pieces, 0);
            if (m_solver.tryRuleTable(kRuleSetA, m_letterCursor, length, true))
                return true;
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
        PieceString& divisor = m_solver.m_replacement;
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
        return true;
    }
    return false;
}

bool SolveRun::invertFunction(int equals, int length)
{
    for (int f = 0; f < length; ++f) {
        const unsigned char token = m_pieces[f];
        if (kInvertedFunctions.find(static_cast<char>(token)) == std::string_view::npos || m_levels[f] >= 16)
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
        static_cast<void>(EquationSolver::IsolateStep(m_pieces, m_levels, position, m_solver.m_temporary));
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
            static_cast<void>(
                EquationSolver::IsolateStep(m_pieces, m_levels, termStart, m_solver.m_temporary));
            return true;
        }
    }
    return false;
}

bool SolveRun::hasSearchForm() const
{
    return m_pieces[0] == kUnknown && m_pieces[1] == '=' && countPiece(m_pieces, kUnknown, 2) > 0;
}

SolveRun::Isolation SolveRun::isolateForSearch()
{
    PieceString& before = m_solver.m_replacement;
    for (int step = 0; step < kMaxSearchIsolations; ++step) {
        // Sign simplification never lengthens the equation, so one length check suffices.
        if (isTooLong(m_pieces) || !simplifyWithFreshLevels(m_pieces, m_levels))
            return Isolation::LimitReached;
        const int equals = EquationSolver::FindPiece(m_pieces, '=');
        if (equals <= 0)
            return Isolation::LimitReached;
        copyPieces(before, m_pieces.data(), m_pieces.length());
        const int position = isolationPosition(m_pieces, m_levels, equals);
        if (!EquationSolver::IsolateStep(m_pieces, m_levels, position, m_solver.m_temporary))
            return Isolation::Done;
        // A step that reports a move but moved nothing would repeat for ever.
        if (m_pieces.view() == before.view())
            return Isolation::Done;
    }
    return Isolation::Done;
}

SolveRun::Trial SolveRun::evaluateTrial(Complex trialValue, Complex& result)
{
    ConstantPool& pool = m_solver.m_pool;
    TrialPool& trialPool = m_solver.m_trialPool;
    PieceString& copy = m_solver.m_pattern;
    LevelString& copyLevels = m_solver.m_patternLevels;

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
    const int first = EquationSolver::FindPiece(copy, kUnknown);
    if (first < 0)
        return Trial::Abandoned;
    if (EquationSolver::StoreConstant(copy, first, trialPool, trialValue) != StoreResult::Stored)
        return Trial::Abandoned;
    const unsigned char token = copy[first];
    for (int i = first + 1; copy[i] != 0; ++i) {
        if (copy[i] == kUnknown)
            copy[i] = token;
    }

    EvaluationResult r = EvaluationResult::Unchanged;
    int folds = 0;
    do {
        if (!simplifyWithFreshLevels(copy, copyLevels))
            return Trial::Abandoned;
        r = EquationSolver::EvaluateConstants(copy, copyLevels, trialPool);
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
        case Trial::Value: {
            const double sum = trial.re + trial.im;
            if (EquationSolver::ApproxEqual(sum, value.re + trial.im) &&
                EquationSolver::ApproxEqual(sum, value.im + trial.re)) {
                if (EquationSolver::ApproxEqual(trial.re, trial.re + trial.im))
                    trial.im = 0.0;
                if (EquationSolver::ApproxEqual(trial.im, trial.re + trial.im))
                    trial.re = 0.0;
                m_pieces.truncate(0);
                const unsigned char solution[] = {kUnknown, '=', kZero};
                m_pieces.insert(0, solution, 3);
                return EquationSolver::StoreConstant(m_pieces, 2, m_solver.m_pool, trial) ==
                       StoreResult::Stored;
            }
            trial = value;
            break;
        }
        }
        if (lastTrial)
            return false;
    }
    return false;
}

} // namespace engine
