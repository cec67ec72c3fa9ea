// SPDX-License-Identifier: MIT
// Parses the command line of tervalon-solve.
#include "cli_options.h"

#include <charconv>
#include <string_view>

namespace cli {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        const char c = text[text.size() - end.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != end[i])
            return false;
    }
    return true;
}

bool parseSide(std::string_view text, int& side)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc() && end == text.data() + text.size() && side >= kMinPlotSide &&
           side <= kMaxPlotSide;
}

bool parsePlotSize(std::string_view text, int& width, int& height)
{
    const std::size_t times = text.find('x');
    return times != std::string_view::npos && parseSide(text.substr(0, times), width) &&
           parseSide(text.substr(times + 1), height);
}

} // namespace

bool parseArguments(int argc, const char* const* argv, CliOptions& options, std::string& error)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] != '-' && arg != "-h")) {
            options.equations.emplace_back(arg);
            continue;
        }
        const auto takeValue = [&](std::string& target) {
            if (i + 1 >= argc) {
                error.assign("option ").append(arg).append(" needs a value");
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--raw") {
            options.raw = true;
        } else if (arg == "--explain") {
            options.solve.explainSteps = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--latex") {
            options.latex = true;
        } else if (arg == "--no-spaces") {
            options.solve.addSpaces = false;
        } else if (arg == "--check") {
            options.solve.showCheck = true;
        } else if (arg == "--all") {
            options.solve.allSolutions = true;
        } else if (arg == "--exact") {
            options.solve.exactValues = true;
        } else if (arg == "--line-numbers") {
            options.solve.addLineNumbers = true;
        } else if (arg == "--equivalent") {
            if (!takeValue(options.solve.equivalent))
                return false;
        } else if (arg == "--decimal-separator") {
            if (!takeValue(options.solve.decimalSeparator))
                return false;
        } else if (arg == "--language") {
            if (!takeValue(options.languageFile))
                return false;
        } else if (arg == "--plot") {
            if (!takeValue(options.plotFile))
                return false;
            if (!endsWithNoCase(options.plotFile, ".png") && !endsWithNoCase(options.plotFile, ".svg")) {
                error = "--plot needs a file name ending in .png or .svg";
                return false;
            }
        } else if (arg == "--plot-size") {
            std::string size;
            if (!takeValue(size))
                return false;
            if (!parsePlotSize(size, options.plotWidth, options.plotHeight)) {
                error = "--plot-size needs WIDTHxHEIGHT, each from " + std::to_string(kMinPlotSide) + " to " +
                        std::to_string(kMaxPlotSide);
                return false;
            }
        } else {
            error.assign("unknown option ").append(arg);
            return false;
        }
    }
    if (options.json && options.raw) {
        error = "--json and --raw cannot be combined";
        return false;
    }
    if (options.latex && (options.raw || options.json)) {
        error =
            options.raw ? "--latex and --raw cannot be combined" : "--latex and --json cannot be combined";
        return false;
    }
    if (!options.plotFile.empty() && options.raw) {
        error = "--plot and --raw cannot be combined";
        return false;
    }
    options.solve.graph = !options.plotFile.empty();
    return true;
}

std::string plotFileName(const std::string& file, std::size_t index)
{
    if (index == 0)
        return file;
    const std::size_t dot = file.size() - 4; // the extension is checked: ".png" or ".svg"
    return file.substr(0, dot) + "-" + std::to_string(index + 1) + file.substr(dot);
}

std::string usageText()
{
    const config::SolveOptions defaults = config::defaultSolveOptions();
    return "Usage: tervalon-solve [options] EQUATION...\n"
           "Solves each equation in x and prints its derivation, one line per step.\n"
           "Without EQUATION, equations are read from standard input, one per line.\n"
           "\n"
           "Options:\n"
           "  --raw                     print only the engine's result, each followed by an empty line\n"
           "                            (no result check, no other solutions)\n"
           "  --explain                 follow every line by its reason, aligned in a column\n"
           "  --json                    print one JSON object per equation, one per line: the equation\n"
           "                            as solved, its lines with their reasons (text, kind, rule), the\n"
           "                            error number, the final value and its check (maths in the\n"
           "                            engine's notation; every value with its exact form or null)\n"
           "  --latex                   print each solution as a LaTeX align* environment: a row per\n"
           "                            line, derivation lines as maths, the other lines as \\text{}\n"
           "  --no-spaces               no blanks around operators\n"
           "  --line-numbers            number every line after the first\n"
           "  --equivalent TEXT         marker in front of every derived line (default \"" +
           defaults.equivalent +
           "\")\n"
           "  --decimal-separator TEXT  decimal separator of input and output (default \"" +
           defaults.decimalSeparator +
           "\")\n"
           "  --check                   end every solution with its result check, not only a failed one\n"
           "  --all                     end every solution with all solutions found numerically\n"
           "                            (\"Other solutions: x = ...\", at most 12, each checked)\n"
           "  --exact                   add the exact value of every value shown where one is proved\n"
           "                            (\"Exact value: x = (1+sqr(5))/2\", \"x = 1.41421 = sqr(2)\")\n"
           "  --language FILE           take the messages, the header, the reasons, the check and\n"
           "                            solutions lines from a language file\n"
           "  --plot FILE               draw each equation's sides and solutions to FILE (.png or\n"
           "                            .svg), the second equation's to FILE-2.png and so on\n"
           "  --plot-size WxH           size of the pictures in pixels (default 800x500)\n"
           "  --help                    show this text\n"
           "\n"
           "Each final value x = ... is substituted into the equation as entered; a value that does\n"
           "not satisfy it gets a line \"Check: ...\" after its derivation.\n"
           "\n"
           "Exit status: 0 when every equation was solved without an error message and no check\n"
           "failed, 1 when one ended with an error message, 2 for a usage error, a language file\n"
           "that cannot be read or output that cannot be written, 3 when the check of a result\n"
           "failed (also when another equation ended with an error message).\n";
}

} // namespace cli
