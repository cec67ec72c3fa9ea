// SPDX-License-Identifier: MIT
// tervalon-solve: solves equations from the command line and prints their derivations.
#include "cli/cli_options.h"
#include "cli/solution_json.h"
#include "config/language_files.h"
#include "config/latex_text.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"
#include "engine/error_codes.h"
#ifdef TERVALON_PLOT
#include "cli/plot_files.h"
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int kEquationError = 1;
constexpr int kUsageOrFileError = 2;
constexpr int kCheckFailed = 3;

/// Standard output that remembers its first failure (a full disk, a closed pipe).
class Output {
public:
    /// Writes text; false once anything could not be written.
    bool write(std::string_view text)
    {
        if (m_error == 0 && std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
            m_error = errno != 0 ? errno : EIO;
        return m_error == 0;
    }
    /// Flushes what is buffered; false when that or an earlier write failed.
    bool finish()
    {
        if (m_error == 0 && std::fflush(stdout) != 0)
            m_error = errno != 0 ? errno : EIO;
        return m_error == 0;
    }
    [[nodiscard]] int error() const { return m_error; }

private:
    int m_error = 0;
};

/// Installs the language file's texts; false (after a message) when it cannot be used at all.
bool applyLanguage(const std::string& path, engine::EquationSolver& solver, config::SolveOptions& options)
{
    const std::string name = "tervalon-solve: language file '" + path + "'";
    switch (config::applyLanguageFile(path, solver, options)) {
    case config::LanguageFileUse::Applied:
        return true;
    case config::LanguageFileUse::Missing:
    case config::LanguageFileUse::Unreadable:
        std::cerr << name << " cannot be read\n";
        return false;
    case config::LanguageFileUse::TooLarge:
        std::cerr << name << " is larger than " << config::CInitFile::kMaxFileSize / (1024 * 1024)
                  << " MiB and cannot be used\n";
        return false;
    case config::LanguageFileUse::Empty:
        std::cerr << name << " is empty; the built-in texts are used\n";
        return true;
    case config::LanguageFileUse::NotUtf8:
        std::cerr << name << " is not UTF-8 text; the built-in texts are used\n";
        return true;
    case config::LanguageFileUse::NoKnownKeys:
        std::cerr << name << " holds none of the known text keys; the built-in texts are used\n";
        return true;
    }
    return false;
}

int reportWriteFailure(const Output& output)
{
    std::cerr << "tervalon-solve: the output cannot be written: " << std::strerror(output.error()) << "\n";
    return kUsageOrFileError;
}

} // namespace

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A closed pipe must end in a message and exit status 2, not in a silent signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    cli::CliOptions options;
    std::string error;
    if (!cli::parseArguments(argc, argv, options, error)) {
        std::cerr << "tervalon-solve: " << error << "\nTry 'tervalon-solve --help'.\n";
        return kUsageOrFileError;
    }
    Output output;
    if (options.help) {
        output.write(cli::usageText());
        return output.finish() ? 0 : reportWriteFailure(output);
    }

    auto solver = std::make_unique<engine::EquationSolver>();
    if (!options.languageFile.empty() && !applyLanguage(options.languageFile, *solver, options.solve))
        return kUsageOrFileError;

#ifdef TERVALON_PLOT
    std::unique_ptr<cli::PlotWriter> plots;
    if (!options.plotFile.empty()) {
        plots = std::make_unique<cli::PlotWriter>(options.plotWidth, options.plotHeight,
                                                  options.solve.graphTexts, options.solve.decimalSeparator);
    }
#else
    if (!options.plotFile.empty()) {
        std::cerr << "tervalon-solve: this build draws no pictures (--plot needs Qt)\n";
        return kUsageOrFileError;
    }
#endif
    bool anyPlotFailed = false;
    std::size_t plotIndex = 0;

    // The raw output shows the engine's text alone: nothing to search for.
    config::SolveOptions solveOptions = options.solve;
    solveOptions.allSolutions = solveOptions.allSolutions && !options.raw;
    // The JSON object gives every value its exact form.
    solveOptions.exactValues = (solveOptions.exactValues || options.json) && !options.raw;
    bool anyError = false;
    bool anyRejected = false;
    bool first = true;
    const auto solveOne = [&](const std::string& equation) {
        const config::SolveRecord record = config::solveRecord(*solver, equation, solveOptions);
        anyError = anyError || record.error != engine::ErrorCode::None;
#ifdef TERVALON_PLOT
        if (plots) {
            const std::string file = cli::plotFileName(options.plotFile, plotIndex);
            if (!plots->write(file, record.graph)) {
                std::cerr << "tervalon-solve: the picture '" << file << "' cannot be written\n";
                anyPlotFailed = true;
            }
        }
#endif
        ++plotIndex;
        if (options.raw) {
            if (!options.solve.explainSteps)
                return output.write(record.solution + "\r\n");
            // The engine's own notation: reasons without blanks, "." as the decimal point.
            config::SolveOptions engineNotation = options.solve;
            engineNotation.addSpaces = false;
            engineNotation.decimalSeparator.clear(); // "." as in the engine's text
            return output.write(
                config::explainLines(record.solution, record.details.reasons, engineNotation) + "\r\n");
        }
        anyRejected = anyRejected || analysis::isRejection(record.check.verdict);
        if (options.json)
            return output.write(cli::solutionJson(record, options.solve.stepPhrases) + '\n');
        const config::SolutionBlock block = config::renderBlock(record, options.solve);
        if (options.latex) {
            const bool separated = first || output.write("\n");
            first = false;
            return separated &&
                   output.write(config::latexOfText(block.text, config::latexStyle(options.solve)));
        }
        // The window puts the separator in front of every block but the first in its view.
        const bool separated = first || output.write(config::kBlockSeparator);
        first = false;
        return separated && output.write(block.text);
    };

    if (!options.equations.empty()) {
        for (const std::string& equation : options.equations) {
            if (!solveOne(equation))
                break;
        }
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!solveOne(line))
                break;
        }
    }
    if (!output.finish())
        return reportWriteFailure(output);
    if (anyPlotFailed)
        return kUsageOrFileError;
    // A wrong result weighs more than an equation the engine refused.
    if (anyRejected)
        return kCheckFailed;
    return anyError ? kEquationError : 0;
}
