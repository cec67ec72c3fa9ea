// SPDX-License-Identifier: MIT
// The reasons of the solution lines in words: the phrases of the interface texts with the engine's maths.
#include "config/step_reasons.h"

#include "config/interface_texts.h"
#include "engine/equation_solver.h"
#include "engine/message_format.h"

#include <array>
#include <span>

namespace config {

namespace {

using engine::StepAction;
using engine::StepKind;

/// The arrow between a rule's pattern and its replacement: "→".
constexpr std::string_view kRuleArrow = " \xE2\x86\x92 ";

/// The Steps rows of the text table, in table order.
const std::vector<const TextKey*>& stepRows()
{
    static const std::vector<const TextKey*> rows = [] {
        std::vector<const TextKey*> found;
        for (const TextKey& row : textKeys()) {
            if (row.form == Form::Steps)
                found.push_back(&row);
        }
        return found;
    }();
    return rows;
}

/// The key of the phrase that words reason.
std::string_view phraseKey(const engine::StepReason& reason)
{
    switch (reason.action) {
    case StepAction::Equation:
        return "Steps.Equation";
    case StepAction::FoldZeroSign:
        return "Steps.FoldZeroSign";
    case StepAction::FoldZeroTerm:
        return "Steps.FoldZeroTerm";
    case StepAction::FoldZeroProduct:
        return "Steps.FoldZeroProduct";
    case StepAction::FoldZeroBase:
        return "Steps.FoldZeroBase";
    case StepAction::FoldZeroExponent:
        return "Steps.FoldZeroExponent";
    case StepAction::FoldOneFactor:
        return "Steps.FoldOneFactor";
    case StepAction::FoldOneBase:
        return "Steps.FoldOneBase";
    case StepAction::FoldOneExponent:
        return "Steps.FoldOneExponent";
    case StepAction::FoldSignIn:
        return "Steps.FoldSignIn";
    case StepAction::FoldSignOut:
        return "Steps.FoldSignOut";
    case StepAction::FoldOperation:
        return "Steps.Fold";
    case StepAction::FoldExponents:
        return "Steps.FoldExponents";
    case StepAction::Rule:
        if (reason.kind == StepKind::Collect)
            return "Steps.Collect";
        return reason.kind == StepKind::Expand ? "Steps.Expand" : "Steps.Rule";
    case StepAction::Swap:
        return "Steps.Swap";
    case StepAction::Move:
        return "Steps.Move";
    case StepAction::MoveSign:
        return "Steps.MoveSign";
    case StepAction::MoveNumerator:
        return "Steps.MoveNumerator";
    case StepAction::UndoBase:
        return "Steps.UndoBase";
    case StepAction::UndoExponent:
        return "Steps.UndoExponent";
    case StepAction::UndoFunction:
        return "Steps.UndoFunction";
    case StepAction::NothingToUndo:
        return "Steps.NothingToUndo";
    case StepAction::ClearFraction:
        return "Steps.ClearFraction";
    case StepAction::Search:
        return "Steps.Search";
    case StepAction::MessageRejected:
        return "Steps.Rejected";
    case StepAction::MessageFoldFailed:
        return "Steps.FoldFailed";
    case StepAction::MessageTooLarge:
        return "Steps.TooLarge";
    case StepAction::MessageLineLimit:
        return "Steps.LineLimit";
    }
    return "Steps.Equation";
}

/// Maths as the lines show it: with blanks around the operators when asked for, none at the ends.
std::string dressedMaths(std::string_view maths, bool addSpaces)
{
    std::string dressed = engine::EquationSolver::DecorateSolution(maths, addSpaces, false, {}, false);
    const std::size_t first = dressed.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return dressed.substr(first, dressed.find_last_not_of(' ') - first + 1);
}

/// The arguments of the reason's phrase, in its order; texts holds what they point into.
std::vector<engine::FormatArg> phraseArguments(const engine::StepReason& reason, const StepPhrases& phrases,
                                               bool addSpaces, std::array<std::string, 3>& texts)
{
    const auto text = [](const std::string& value) {
        return engine::FormatArg{engine::FormatArgKind::String, 0, value.c_str()};
    };
    const std::string& side =
        phrases.phrase(reason.side == engine::StepSide::Left ? "Steps.LeftSide" : "Steps.RightSide");
    switch (reason.action) {
    case StepAction::FoldSignIn:
    case StepAction::FoldSignOut:
    case StepAction::FoldOperation:
    case StepAction::FoldExponents:
    case StepAction::UndoBase:
    case StepAction::UndoExponent:
    case StepAction::ClearFraction:
        texts[0] = dressedMaths(reason.maths, addSpaces);
        return {text(texts[0])};
    case StepAction::Rule:
        texts[0] = ruleName(reason.rule);
        texts[1] = std::string(1, static_cast<char>(reason.letter));
        texts[2] = reason.maths;
        texts[2].append(kRuleArrow).append(reason.moreMaths);
        if (reason.kind == StepKind::Collect)
            return {text(texts[0]), text(texts[1]), text(texts[2])};
        return {text(texts[0]), text(texts[2])};
    case StepAction::Move:
    case StepAction::MoveNumerator:
        texts[0] = dressedMaths(reason.maths, addSpaces);
        return {text(texts[0]), text(side)};
    case StepAction::MoveSign:
        return {text(side)};
    case StepAction::UndoFunction:
        texts[0] = reason.maths;
        texts[1] = dressedMaths(reason.moreMaths, addSpaces);
        return {text(texts[0]), text(texts[1])};
    case StepAction::Search:
        texts[0] = dressedMaths(reason.maths, addSpaces);
        return {text(texts[0]), engine::FormatArg{engine::FormatArgKind::Int, reason.trials, ""}};
    default:
        return {};
    }
}

} // namespace

StepPhrases::StepPhrases()
{
    for (const TextKey* row : stepRows())
        m_phrases.push_back(defaultText(*row));
}

StepPhrases::StepPhrases(const InterfaceTexts& texts)
{
    for (const TextKey* row : stepRows())
        m_phrases.push_back(texts.text(row->key));
}

const std::string& StepPhrases::phrase(std::string_view key) const
{
    static const std::string kNone;
    const std::vector<const TextKey*>& rows = stepRows();
    for (std::size_t i = 0; i < rows.size() && i < m_phrases.size(); ++i) {
        if (rows[i]->key == key)
            return m_phrases[i];
    }
    return kNone;
}

std::string reasonText(const engine::StepReason& reason, const StepPhrases& phrases, bool addSpaces)
{
    std::array<std::string, 3> texts;
    const std::vector<engine::FormatArg> args = phraseArguments(reason, phrases, addSpaces, texts);
    const std::string_view key = phraseKey(reason);
    std::string worded;
    // A translation may leave out trailing maths, never ask for more.
    if (engine::formatMessage(phrases.phrase(key), args, worded,
                              engine::ArgumentUse::LeadingArgumentsSuffice))
        return worded;
    const TextKey* row = findTextKey(key);
    if (row != nullptr &&
        engine::formatMessage(defaultText(*row), args, worded, engine::ArgumentUse::LeadingArgumentsSuffice))
        return worded;
    return std::string(key);
}

std::string_view stepKindName(engine::StepKind kind)
{
    switch (kind) {
    case StepKind::Equation:
        return "equation";
    case StepKind::Fold:
        return "fold";
    case StepKind::Rule:
        return "rule";
    case StepKind::Swap:
        return "swap";
    case StepKind::Isolate:
        return "isolate";
    case StepKind::Collect:
        return "collect";
    case StepKind::ClearFraction:
        return "clear-fraction";
    case StepKind::InvertFunction:
        return "invert-function";
    case StepKind::Expand:
        return "expand";
    case StepKind::MoveTerm:
        return "move-term";
    case StepKind::Search:
        return "search";
    case StepKind::Message:
        return "message";
    }
    return "equation";
}

std::string ruleName(const engine::RuleId& rule)
{
    if (rule.table == 0)
        return {};
    return std::string(1, rule.table) + std::to_string(rule.number);
}

} // namespace config
