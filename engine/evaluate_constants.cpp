// SPDX-License-Identifier: MIT
// Constant folding: one step per call, the first applicable check at the leftmost constant wins.
#include "engine/constant_folding.h"

#include "engine/complex_arithmetic.h"
#include "engine/pieces.h"
#include "engine/token_table.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

namespace engine {

namespace {

Complex negated(Complex v)
{
    return {-v.re, -v.im};
}

/// re <= 0 and im <= 0 and not zero: a constant whose sign the folding moves into the expression.
bool isNegative(Complex v)
{
    return v.re <= 0.0 && v.im <= 0.0 && !(v.re == 0.0 && v.im == 0.0);
}

/// Walks one PieceString from the left and applies the first check that fits a constant token.
class ConstantFolder {
public:
    ConstantFolder(PieceString& pieces, const LevelString& levels, ConstantPool& pool, FoldRecord* record)
        : m_pieces(pieces), m_levels(levels), m_pool(pool), m_record(record), m_length(pieces.length())
    {
    }

    EvaluationResult run()
    {
        for (m_m = 0; m_m < m_length; ++m_m) {
            if (!isConstantToken(m_pieces.at(m_m)))
                continue;
            loadContext();
            if (const auto result = checkToken())
                return *result;
        }
        return EvaluationResult::Unchanged;
    }

private:
    /// What one check gives: a result, or none when it does not apply. Kept in one integer rather
    /// than an optional, whose two parts cost a stall each time a result is handed on.
    class Outcome {
    public:
        Outcome(EvaluationResult result) : m_code(static_cast<int>(result)) {}
        Outcome(std::nullopt_t) {}
        explicit operator bool() const { return m_code >= 0; }
        EvaluationResult operator*() const { return static_cast<EvaluationResult>(m_code); }

    private:
        int m_code = -1;
    };

    void loadContext()
    {
        const int m = m_m;
        m_token = m_pieces.at(m);
        m_value = m_pool.value(m_token);
        m_previous = m_pieces.at(m - 1); // reads 0 for m = 0
        m_previousLevel = m_levels[m - 1];
        m_previousClass = levelClass(m_previousLevel);
        m_nextLevel = m_levels[m + 1]; // the terminator counts as level 0
        m_nextClass = levelClass(m_nextLevel);
    }

    Outcome checkToken()
    {
        if (m_token == kZero) {
            if (const auto result = checkZero())
                return result;
        }
        if (m_token == kOne) {
            if (const auto result = checkOne())
                return result;
        }
        if (const auto result = moveNegativeIntoSign())
            return result;
        if (const auto result = absorbUnaryMinus())
            return result;
        if (const auto result = foldSum())
            return result;
        if (const auto result = foldProduct())
            return result;
        if (const auto result = foldPower())
            return result;
        return foldFunction();
    }

    // ---- the value 0 -------------------------------------------------------------------------

    Outcome checkZero()
    {
        const int m = m_m;
        const int pc = m_previousClass;
        const int nc = m_nextClass;

        // -0 = +0; the pair goes with the next call.
        if (m_previous == '-') {
            m_pieces.set(m - 1, '+');
            return folded(StepAction::FoldZeroSign);
        }
        // A leading 0 before a sign: (0-x) = (-x).
        if (pc == 0 && nc == 1) {
            m_pieces.erase(m, 1);
            return folded(StepAction::FoldZeroTerm);
        }
        // A term +0 disappears: a+0 = a.
        if (pc == 1 && (nc == 0 || nc == 1)) {
            removeZeroTerm();
            return folded(StepAction::FoldZeroTerm);
        }
        // 0*a/b = 0, and 0/0 = 0: the rest of the product goes.
        if ((pc == 0 || pc == 1) && nc == 2) {
            deleteRange(m + 1, runRightEnd(m, m_nextLevel));
            return folded(StepAction::FoldZeroProduct);
        }
        // a/0 is a division by zero; a*b*0 = 0.
        if (pc == 2 && nc <= 2) {
            if (m_previous == '/')
                return EvaluationResult::DivisionByZero;
            deleteRange(runLeftStart(m - 1, m_previousLevel), m);
            return folded(StepAction::FoldZeroProduct);
        }
        // 0^y = 0, for every y, 0 included.
        if (pc <= 3 && nc == 4) {
            deleteRange(m + 1, runRightEnd(m, m_nextLevel));
            return folded(StepAction::FoldZeroBase);
        }
        // a^0 = 1.
        if (pc == 4 && nc <= 4) {
            m_pieces.set(m, kOne);
            deleteRange(runLeftStart(m - 1, m_previousLevel), m);
            return folded(StepAction::FoldZeroExponent);
        }
        return std::nullopt;
    }

    /// Deletes a term +0 or -0 together with its sign. Signs that have not been merged yet
    /// ("a+-0") go with it, and a 0 that is the whole operand of a leading sign ("=+0") keeps its
    /// place so that the side never becomes empty.
    void removeZeroTerm()
    {
        const int m = m_m;
        int start = m - 1;
        while (start > 0 && isSign(m_pieces.at(start - 1)))
            --start;
        const unsigned char before = m_pieces.at(start - 1);
        const bool leading = before == 0 || before == '=' || before == '(';
        if (leading && m_nextClass == 0)
            deleteRange(start, m);
        else
            deleteRange(start, m + 1);
    }

    // ---- the value 1 -------------------------------------------------------------------------

    Outcome checkOne()
    {
        const int m = m_m;
        const int pc = m_previousClass;
        const int nc = m_nextClass;

        // 1*a = a (1/a stays, the product rule folds it when a is a constant).
        if ((pc == 0 || pc == 1) && m_pieces.at(m + 1) == '*') {
            m_pieces.erase(m, 2);
            return folded(StepAction::FoldOneFactor);
        }
        // a*1 = a/1 = a.
        if (pc == 2 && nc <= 2) {
            m_pieces.erase(m - 1, 2);
            return folded(StepAction::FoldOneFactor);
        }
        // 1^y = 1.
        if (pc <= 3 && nc == 4) {
            deleteRange(m + 1, runRightEnd(m, m_nextLevel));
            return folded(StepAction::FoldOneBase);
        }
        // a^1 = a.
        if (pc == 4 && nc <= 4) {
            m_pieces.erase(m - 1, 2);
            return folded(StepAction::FoldOneExponent);
        }
        return std::nullopt;
    }

    // ---- every constant ----------------------------------------------------------------------

    /// x+(-3) = x-3 and x-a*(-3) = x+a*3: the sign in front of the term takes the minus.
    Outcome moveNegativeIntoSign()
    {
        if (!isNegative(m_value) || m_previousClass > 2 || m_nextClass > 2)
            return std::nullopt;
        int j = m_m - 1;
        if (m_previousClass == 2) {
            // The piece in front of the whole product.
            j = m_m - 2;
            while (j >= 0 && m_levels[j] >= m_previousLevel)
                --j;
        }
        if (j < 0 || !isSign(m_pieces.at(j)) || levelClass(m_levels[j]) != 1)
            return std::nullopt;
        if (m_record != nullptr)
            record(StepAction::FoldSignOut, {kFoldFirstValue}, m_value);
        // The magnitude is unchanged, so only running out of codes can stop the store.
        if (const auto failure = store(negated(m_value)))
            return failure;
        m_pieces.set(j, m_pieces.at(j) == '+' ? '-' : '+');
        return EvaluationResult::Folded;
    }

    /// A minus that applies to this constant alone (after *, / or ^, or =-3 at the end of a side)
    /// becomes part of the constant.
    Outcome absorbUnaryMinus()
    {
        const int m = m_m;
        if (m_previous != '-' || m_previousLevel <= m_levels[m - 2] || m_previousLevel <= m_nextLevel)
            return std::nullopt;
        if (m_record != nullptr)
            record(StepAction::FoldSignIn, {kFoldFirstValue}, negated(m_value));
        if (const auto failure = store(negated(m_value)))
            return failure;
        m_pieces.erase(m - 1, 1);
        return EvaluationResult::Folded;
    }

    /// Writes t over the left operand and removes the partner at j with its operator; the left
    /// operand's own operator becomes newPrevious when one is given.
    Outcome mergeWithPartner(Complex t, int j, unsigned char newPrevious = 0)
    {
        if (const auto failure = store(t))
            return failure;
        m_pieces.erase(j - 1, 2);
        if (newPrevious != 0)
            m_pieces.set(m_m - 1, newPrevious);
        return EvaluationResult::Folded;
    }

    /// v + w (with their signs) replaces the left operand: =2+x+3 becomes =5+x.
    Outcome foldSum()
    {
        if (!(m_previousClass == 0 || m_previousClass == 1) || m_nextClass != 1)
            return std::nullopt;
        // A sign of its own in front of P ("a-+2+3") would have to be merged first.
        if (isSign(m_previous) && isSign(m_pieces.at(m_m - 2)))
            return std::nullopt;
        const int j = findPartner();
        if (j < 0)
            return std::nullopt;
        const bool leftNegative = m_previous == '-';
        const bool rightNegative = m_pieces.at(j - 1) == '-';
        if (m_record != nullptr) {
            const unsigned char op = m_pieces.at(j - 1);
            if (leftNegative)
                record(StepAction::FoldOperation, {'-', kFoldFirstValue, op, kFoldSecondValue}, m_value,
                       m_pool.value(m_pieces.at(j)));
            else
                record(StepAction::FoldOperation, {kFoldFirstValue, op, kFoldSecondValue}, m_value,
                       m_pool.value(m_pieces.at(j)));
        }
        Complex t = leftNegative != rightNegative ? negated(m_value) : m_value;
        AddComplex(t, m_pool.value(m_pieces.at(j)));
        if (rightNegative)
            t = negated(t);
        return mergeWithPartner(t, j, leftNegative ? '+' : 0);
    }

    /// v * w or v / w with the operators of both operands: 6/3 = 2, x/2/4 = x*0.125.
    Outcome foldProduct()
    {
        if (m_previousClass > 2 || m_nextClass != 2)
            return std::nullopt;
        const int j = findPartner();
        if (j < 0)
            return std::nullopt;
        const bool leftDivides = m_previous == '/';
        const bool rightDivides = m_pieces.at(j - 1) == '/';
        if (m_record != nullptr) {
            const unsigned char op = m_pieces.at(j - 1);
            if (leftDivides)
                record(StepAction::FoldOperation, {kOne, '/', kFoldFirstValue, op, kFoldSecondValue}, m_value,
                       m_pool.value(m_pieces.at(j)));
            else
                record(StepAction::FoldOperation, {kFoldFirstValue, op, kFoldSecondValue}, m_value,
                       m_pool.value(m_pieces.at(j)));
        }
        Complex t = m_value;
        if (leftDivides != rightDivides && !InvertComplex(t))
            return EvaluationResult::DivisionByZero;
        MultiplyComplex(t, m_pool.value(m_pieces.at(j)));
        if (rightDivides && !InvertComplex(t))
            return EvaluationResult::DivisionByZero;
        return mergeWithPartner(t, j, leftDivides ? '*' : 0);
    }

    /// v^w = e^(w ln v); a chained exponent a^v^w = a^(v*w), read from the left.
    Outcome foldPower()
    {
        if (m_nextClass != 4 || m_previousClass > 4)
            return std::nullopt;
        const int j = findPartner();
        if (j < 0)
            return std::nullopt;
        Complex t = m_value;
        if (m_previousClass == 4) {
            if (m_record != nullptr)
                record(StepAction::FoldExponents, {kFoldFirstValue, '*', kFoldSecondValue}, m_value,
                       m_pool.value(m_pieces.at(j)));
            MultiplyComplex(t, m_pool.value(m_pieces.at(j)));
            return mergeWithPartner(t, j);
        }
        // ln 0 cannot occur here: 0^y has been folded to 0 by the checks of the value 0.
        if (!LogComplex(t))
            return std::nullopt;
        MultiplyComplex(t, m_pool.value(m_pieces.at(j)));
        if (!ExpComplex(t))
            return EvaluationResult::Overflow;
        if (m_record != nullptr)
            record(StepAction::FoldOperation, {kFoldFirstValue, '^', kFoldSecondValue}, m_value,
                   m_pool.value(m_pieces.at(j)));
        return mergeWithPartner(t, j);
    }

    /// f(v) once the whole argument has become one constant.
    Outcome foldFunction()
    {
        const int m = m_m;
        const unsigned char token = m_pieces.at(m - 2);
        if (m < 2 || !isFunctionToken(token) || m_pieces.at(m - 1) != '(' || m_pieces.at(m + 1) != ')')
            return std::nullopt;
        Complex u{};
        const EvaluationResult result = functionValue(token, m_value, u);
        if (result != EvaluationResult::Folded)
            return result;
        if (m_record != nullptr)
            record(StepAction::FoldOperation, {token, '(', kFoldFirstValue, ')'}, m_value);
        if (const auto failure = store(u))
            return failure;
        m_pieces.erase(m + 1, 1);
        m_pieces.erase(m - 2, 2);
        return EvaluationResult::Folded;
    }

    // ---- helpers -----------------------------------------------------------------------------

    /// A fold by one of the checks of 0 and 1, noted for a caller that explains its steps.
    EvaluationResult folded(StepAction action)
    {
        if (m_record != nullptr) {
            m_record->action = action;
            m_record->pieces = {};
        }
        return EvaluationResult::Folded;
    }

    /// Notes what a check on every constant does, as pieces with values in place of their tokens.
    void record(StepAction action, std::initializer_list<unsigned char> pieces, Complex first,
                Complex second = {})
    {
        m_record->action = action;
        m_record->pieces = {};
        std::copy(pieces.begin(), pieces.end(), m_record->pieces.begin());
        m_record->values = {first, second};
    }

    /// The second constant operand of the operator chain that follows the token: with K the next
    /// level, the first constant after an operator of level K that binds no further to its right.
    /// Deeper parentheses and stronger-binding sub-expressions are skipped; the search ends where
    /// the chain ends. Returns its index, or -1.
    [[nodiscard]] int findPartner() const
    {
        const int k = m_nextLevel;
        for (int j = m_m + 1; j < m_length; ++j) {
            if (j >= m_m + 2 && m_levels[j] < k)
                break;
            if (m_levels[j - 1] != k || !isConstantToken(m_pieces.at(j)) || m_levels[j + 1] > k)
                continue;
            // An operand behind two unmerged signs ("+-3") is not taken: its sign is not Q alone.
            if (isSign(m_pieces.at(j - 1)) && isSign(m_pieces.at(j - 2)))
                continue;
            return j;
        }
        return -1;
    }

    /// End (exclusive) of the run to the right of i at level: from i+1 up to the first piece
    /// after i+1 whose level is below it.
    [[nodiscard]] int runRightEnd(int i, int level) const
    {
        int k = i + 2;
        while (k < m_length && m_levels[k] >= level)
            ++k;
        return k < m_length ? k : m_length;
    }

    /// Start of the run to the left of i at level: just after the last piece before i whose level
    /// is below it.
    [[nodiscard]] int runLeftStart(int i, int level) const
    {
        int k = i - 1;
        while (k >= 0 && m_levels[k] >= level)
            --k;
        return k + 1;
    }

    /// Deletes the pieces [from, to).
    void deleteRange(int from, int to)
    {
        if (to > from)
            m_pieces.erase(from, to - from);
    }

    /// Writes the token of value at the current index. Returns the failure code, or nothing when
    /// the token was written. A value that is not finite is an overflow as well.
    Outcome store(Complex value)
    {
        if (!std::isfinite(value.re) || !std::isfinite(value.im))
            return EvaluationResult::Overflow;
        switch (StoreConstant(m_pieces, m_m, m_pool, value)) {
        case StoreResult::Stored:
            return std::nullopt;
        case StoreResult::Overflow:
            return EvaluationResult::Overflow;
        case StoreResult::PoolFull:
            return EvaluationResult::PoolFull;
        }
        return EvaluationResult::Overflow;
    }

    // Reads go through at(): the writable operator[] treats an index outside the string (the piece
    // before the first, say) as an overflow of the equation.
    PieceString& m_pieces;
    const LevelString& m_levels;
    ConstantPool& m_pool;
    FoldRecord* m_record;
    const int m_length;

    int m_m = 0;
    unsigned char m_token = 0;
    Complex m_value{};
    unsigned char m_previous = 0;
    int m_previousLevel = 0;
    int m_previousClass = 0;
    int m_nextLevel = 0;
    int m_nextClass = 0;
};

} // namespace

bool isArithmeticFailure(EvaluationResult result)
{
    const int code = static_cast<int>(result);
    return code >= static_cast<int>(EvaluationResult::Overflow) &&
           code <= static_cast<int>(EvaluationResult::AhtOfOne);
}

ErrorCode foldingError(EvaluationResult result)
{
    switch (result) {
    case EvaluationResult::Unchanged:
    case EvaluationResult::Folded:
        return ErrorCode::None;
    case EvaluationResult::Overflow:
        return ErrorCode::Overflow;
    case EvaluationResult::DivisionByZero:
        return ErrorCode::DivisionByZero;
    case EvaluationResult::LogOfZero:
        return ErrorCode::LogOfZero;
    case EvaluationResult::LgtOfZero:
        return ErrorCode::LgtOfZero;
    case EvaluationResult::AtnOfI:
        return ErrorCode::AtnOfImaginaryUnit;
    case EvaluationResult::AhtOfOne:
        return ErrorCode::AhtOfOne;
    case EvaluationResult::PoolFull:
        return ErrorCode::TooManyNumbers;
    }
    return ErrorCode::Overflow;
}

EvaluationResult EvaluateConstants(PieceString& pieces, const LevelString& levels, ConstantPool& pool,
                                   FoldRecord* record)
{
    return ConstantFolder(pieces, levels, pool, record).run();
}

} // namespace engine
