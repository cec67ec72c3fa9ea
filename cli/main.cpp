// SPDX-License-Identifier: MIT
// tervalon-solve: solves equations from the command line and prints their derivations.
#include "cli/cli_options.h"
#include "cli/solution_block.h"
#include "config/language_files.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

void writeBytes(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

} // namespace

int main(int argc, char** argv)
{
    cli::CliOptions options;
    std::string error;
    if (!cli::parseArguments(argc, argv, options, error)) {
        std::cerr << "tervalon-solve: " << error << "\nTry 'tervalon-solve --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << cli::usageText();
        return 0;
    }

    auto solver = std::make_unique<engine::EquationSolver>();
    std::string headerFormat(cli::kDefaultHeaderFormat);
    if (!options.languageFile.empty() &&
        !config::applyLanguageFile(options.languageFile, *solver, headerFormat)) {
        std::cerr << "tervalon-solve: language file '" << options.languageFile << "' cannot be read\n";
        return 2;
    }

    bool anyError = false;
    bool first = true;
    const auto solveOne = [&](const std::string& equation) {
        bool hadError = false;
        const std::string block = cli::solutionBlock(*solver, equation, options, headerFormat, hadError);
        anyError = anyError || hadError;
        if (!first && !options.raw)
            writeBytes(std::string(cli::kBlockSeparator));
        writeBytes(block);
        first = false;
    };

    if (!options.equations.empty()) {
        for (const std::string& equation : options.equations)
            solveOne(equation);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            solveOne(line);
        }
    }
    std::fflush(stdout);
    return anyError ? 1 : 0;
}
