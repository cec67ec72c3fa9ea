// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes (up to 600) through the solver's entry points and checks their output
// contracts (fuzz_analysis does the same for what judges the answer).
#include "engine/equation_solver.h"
#include "engine/solve_details.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 600)
        return 0;
    static auto solver = std::make_unique<engine::EquationSolver>();
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Half the inputs go in raw, half as the Solve command prepares them.
    const std::string text = (size % 2 == 0) ? input : engine::EquationSolver::StripEquation(input);
    const std::string result = solver->Solve(text);

    // Every result is a sequence of lines ending in CR LF, at most 254 lines before a message.
    if (result.size() < 2 || result.compare(result.size() - 2, 2, "\r\n") != 0)
        std::abort();
    std::size_t lines = 0;
    for (std::size_t at = result.find("\r\n"); at != std::string::npos; at = result.find("\r\n", at + 2))
        ++lines;
    if (lines > 255)
        std::abort();

    // Asking for the details changes nothing of the text and gives every line its reason.
    engine::SolveDetails details;
    if (solver->Solve(text, details) != result || details.reasons.size() != lines)
        std::abort();
    return 0;
}
