// SPDX-License-Identifier: MIT
// One solved equation as the JSON object that tervalon-solve --json prints.
#include "cli/solution_json.h"

#include "cli/json_writer.h"

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

} // namespace

std::string solutionJson(const SolvedEquation& solved, const config::StepPhrases& phrases)
{
    JsonWriter json;
    json.beginObject();
    json.key("equation").string(solved.equation);

    const std::vector<std::string_view> lines = linesOf(solved.solution);
    json.key("lines").beginArray();
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

    json.key("error").number(engine::errorNumber(solved.error));
    json.key("value");
    if (solved.details.hasValue && !lines.empty() && lines.back().starts_with("x=")) {
        json.beginObject();
        // The last line is x=value.
        json.key("text").string(lines.back().substr(2));
        json.key("re").number(solved.details.value.re);
        json.key("im").number(solved.details.value.im);
        json.endObject();
    } else {
        json.null();
    }
    json.endObject();
    return json.text();
}

} // namespace cli
