// SPDX-License-Identifier: MIT
// What a solve reports beside its text, for front ends that ask for more than the derivation.
#pragma once

#include "engine/complex_value.h"

#include <string>
#include <vector>

namespace engine {

/// The right side of a derivation's final line x=... when no x stands on it (a value, or an
/// expression in the other letters), at the engine's full precision: its pieces in the token form
/// and the constant pool their constant tokens index.
struct FinalSide {
    std::string pieces; ///< empty when the derivation has no final value
    ConstantPool pool;

    [[nodiscard]] bool isEmpty() const { return pieces.empty(); }
    /// True when the side is one constant (the derivation ends in x = a number), then in value.
    [[nodiscard]] bool isConstant(Complex& value) const;
};

/// Which step of the driver produced a line.
enum class StepKind {
    Equation,       ///< the first line: the equation as read
    Fold,           ///< a constant sub-expression folded
    Rule,           ///< a rewrite rule of table A or C applied to x
    Swap,           ///< the sides swapped, so that x stands on the left
    Isolate,        ///< an operation around the single x undone on the other side
    Collect,        ///< a rule of table A applied to another letter (the letter pass)
    ClearFraction,  ///< every term multiplied by a divisor holding x
    InvertFunction, ///< a function around x undone
    Expand,         ///< a rule of table B (products, powers and sums expanded)
    MoveTerm,       ///< a term moved across the `=`
    Search,         ///< the numeric search found x
    Message,        ///< the message that ended the solve
};

/// What exactly the step did; each action has its own phrase in the front end's texts.
enum class StepAction {
    Equation,
    // Folding: the value 0 and the value 1.
    FoldZeroSign,     ///< -0 = +0
    FoldZeroTerm,     ///< a term 0 dropped
    FoldZeroProduct,  ///< a product with the factor 0 is 0
    FoldZeroBase,     ///< 0^y = 0
    FoldZeroExponent, ///< a^0 = 1
    FoldOneFactor,    ///< a*1 = a/1 = 1*a = a
    FoldOneBase,      ///< 1^y = 1
    FoldOneExponent,  ///< a^1 = a
    // Folding: every constant (maths: the operation evaluated, or the constant).
    FoldSignIn,    ///< a minus taken into the constant after it
    FoldSignOut,   ///< a negative constant's sign moved to its term's operator
    FoldOperation, ///< a sum, product, power or function of constants evaluated
    FoldExponents, ///< a chained exponent a^v^w: v*w evaluated
    Rule,          ///< maths: the rule's pattern and replacement
    Swap,
    // Isolation steps (maths: the operand moved or undone; side: where it went).
    Move,          ///< a term or factor with its operator moved
    MoveSign,      ///< the sign of a lone signed operand moved
    MoveNumerator, ///< A/B=C -> B=A/(C): the numerator moved, the rest inverted
    UndoBase,      ///< B^A=C -> A=log(C)/log(B)
    UndoExponent,  ///< A^E=C -> A=(C)^(1/(E))
    UndoFunction,  ///< maths: the function, then what undoes it
    NothingToUndo, ///< the step found nothing to move
    ClearFraction, ///< maths: the divisor
    Search,        ///< maths: the value; trials: how many
    // The message that ended the solve.
    MessageRejected,   ///< a fault of the equation as entered (ERROR 2-23)
    MessageFoldFailed, ///< an arithmetic failure while folding (ERROR 27-32)
    MessageTooLarge,   ///< the equation grew beyond the limits (ERROR 25, 26, 34)
    MessageLineLimit,  ///< the line limit (ERROR 33)
};

/// The side an isolation step moved something to.
enum class StepSide { None, Left, Right };

/// A rule by table and number, as the tables number them (A1-A189, B1-B16, C1-C80); table 0 for none.
struct RuleId {
    char table = 0;
    int number = 0;
};

/// Why one line of a solution is there. Maths is written in the engine's notation ("5^2", "+2.5",
/// "a/(b-x)"), numbers with "." as the decimal point.
struct StepReason {
    StepKind kind = StepKind::Equation;
    StepAction action = StepAction::Equation;
    StepSide side = StepSide::None;
    RuleId rule;
    unsigned char letter = 0; ///< the letter of the letter pass
    int trials = 0;           ///< the numeric search's trial count
    std::string maths;        ///< the operation, operand or value; a rule's pattern
    std::string moreMaths;    ///< a rule's replacement; what undoes a function
};

/// Filled by `EquationSolver::Solve(text, details)`; the plain `Solve` records nothing, so asking
/// for nothing costs nothing.
struct SolveDetails {
    /// One reason per line of the returned text, in order (a message of several lines gives each of
    /// them the message's reason).
    std::vector<StepReason> reasons;
    /// Set at the end of every solve with details: the final value, or empty.
    FinalSide finalSide;
};

} // namespace engine
