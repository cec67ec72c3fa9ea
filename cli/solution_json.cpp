// SPDX-License-Identifier: MIT
// One solved equation as the JSON object that tervalon-solve --json prints.
#include "cli/solution_json.h"

#include "cli/json_writer.h"
#include "engine/formatting.h"

#include <string_view>
#include <vector>

namespace cli {

namespace {

/// The lines of an engine text, without their CR LF.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void writeReason(JsonWriter& json, const engine::StepReason& reason, const config::StepPhrases& phrases)
{
    json.beginObject();
    // The maths as the engine writes it: a machine reads it more easily without the blanks.
    json.key("text").string(config::reasonText(reason, phrases, false));
    json.key("kind").string(config::stepKindName(reason.kind));
    json.key("rule");
    if (const std::string rule = config::ruleName(reason.rule); !rule.empty())
        json.string(rule);
    else
        json.null();
    json.endObject();
}

void writeLines(JsonWriter& json, const std::vector<std::string_view>& lines,
                const config::SolveRecord& solved, const config::StepPhrases& phrases)
{
    json.beginArray();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        json.beginObject();
        json.key("text").string(lines[i]);
        json.key("reason");
        if (i < solved.details.reasons.size())
            writeReason(json, solved.details.reasons[i], phrases);
        else
            json.null();
        json.endObject();
    }
    json.endArray();
}

/// "exact": the closed form in the engine's notation (pi as "π"), or null.
void writeExact(JsonWriter& json, const analysis::ExactValue& exact)
{
    json.key("exact");
    if (exact.isFound())
        json.string(exact.text);
    else
        json.null();
}

const analysis::ExactValue& exactAt(const std::vector<analysis::ExactValue>& values, std::size_t i)
{
    static const analysis::ExactValue none;
    return i < values.size() ? values[i] : none;
}

/// The final x = constant: the last line's text after "x=", the value at full precision and its
/// exact form (which belongs to the checked value: only a value that verified has one).
void writeValue(JsonWriter& json, const std::vector<std::string_view>& lines,
                const config::SolveRecord& solved)
{
    engine::Complex value;
    if (!solved.details.finalSide.isConstant(value) || lines.empty() || !lines.back().starts_with("x=")) {
        json.null();
        return;
    }
    json.beginObject();
    json.key("text").string(lines.back().substr(2));
    json.key("re").number(value.re);
    json.key("im").number(value.im);
    writeExact(json, solved.exact.finalValue);
    json.endObject();
}

void writeComplex(JsonWriter& json, engine::Complex value)
{
    json.beginObject();
    json.key("re").number(value.re);
    json.key("im").number(value.im);
    json.endObject();
}

void writeNumber(JsonWriter& json, engine::Complex value)
{
    json.beginObject();
    json.key("text").string(engine::formatValue(value));
    json.key("re").number(value.re);
    json.key("im").number(value.im);
    json.endObject();
}

void writeCheck(JsonWriter& json, const analysis::CheckResult& check)
{
    json.beginObject();
    json.key("verdict").string(analysis::verdictName(check.verdict));
    switch (check.verdict) {
    case analysis::CheckVerdict::Verified:
    case analysis::CheckVerdict::Failed:
    case analysis::CheckVerdict::OtherBranch:
        json.key("value");
        writeComplex(json, check.value);
        json.key("left");
        writeComplex(json, check.left);
        json.key("right");
        writeComplex(json, check.right);
        break;
    case analysis::CheckVerdict::Undefined:
        json.key("value");
        writeComplex(json, check.value);
        json.key("side").string(check.undefinedSide == analysis::EquationSide::Right ? "right" : "left");
        break;
    case analysis::CheckVerdict::Undetermined:
    case analysis::CheckVerdict::NotApplicable:
        break;
    }
    if (check.letterSet >= 0)
        json.key("letterSet").number(check.letterSet);
    json.endObject();
}

void writeSolutions(JsonWriter& json, const analysis::AllSolutions& found, const analysis::ExactValues& exact)
{
    json.beginObject();
    json.key("families").beginArray();
    for (std::size_t i = 0; i < found.families.size(); ++i) {
        const analysis::SolutionFamily& family = found.families[i];
        json.beginObject();
        json.key("base");
        writeNumber(json, family.base);
        json.key("period");
        writeNumber(json, family.period);
        writeExact(json, exactAt(exact.families, i));
        json.endObject();
    }
    json.endArray();
    json.key("values").beginArray();
    for (std::size_t i = 0; i < found.solutions.size(); ++i) {
        const analysis::Solution& solution = found.solutions[i];
        json.beginObject();
        json.key("text").string(engine::formatValue(solution.value));
        json.key("re").number(solution.value.re);
        json.key("im").number(solution.value.im);
        json.key("verdict").string(analysis::verdictName(solution.verdict));
        writeExact(json, exactAt(exact.solutions, i));
        json.endObject();
    }
    json.endArray();
    json.key("mayHaveMore").boolean(found.mayHaveMore);
    json.endObject();
}

} // namespace

std::string solutionJson(const config::SolveRecord& solved, const config::StepPhrases& phrases)
{
    const std::vector<std::string_view> lines = linesOf(solved.solution);
    // The members in their order.
    JsonWriter json;
    json.beginObject();
    json.key("equation").string(solved.equation);
    json.key("lines");
    writeLines(json, lines, solved, phrases);
    json.key("error").number(engine::errorNumber(solved.error));
    json.key("value");
    writeValue(json, lines, solved);
    json.key("check");
    writeCheck(json, solved.check);
    if (solved.solutions.hasRun) {
        json.key("solutions");
        writeSolutions(json, solved.solutions, solved.exact);
    }
    json.endObject();
    return json.text();
}

} // namespace cli
