// SPDX-License-Identifier: MIT
// libFuzzer harness: arbitrary bytes as a language file, whose texts then word every engine message
// and the solution header, so translated formats with any conversions reach the formatter.
#include "config/init_file.h"
#include "config/interface_texts.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

using engine::ErrorCode;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Case {
    std::string equation;
    ErrorCode error;
    bool slow = false; // hundreds of times dearer than the others: solved for one input in sixteen
};

/// One equation for every message the engine can raise from an input, and two that solve.
const Case kCases[] = {
    {"", ErrorCode::EmptyEquation},
    {"x=" + std::string(254, '1'), ErrorCode::TooManyCharacters},
    {")x=1", ErrorCode::WrongFirstCharacter},
    {"x=(", ErrorCode::MissingAfterOpening},
    {"x=(*2", ErrorCode::IllegalAfterOpening},
    {"x=1)", ErrorCode::UnmatchedClosing},
    {"(x)2=1", ErrorCode::IllegalAfterClosing},
    {"x=5-", ErrorCode::MissingAfterOperator},
    {"x=*2", ErrorCode::IllegalAfterOperator},
    {"x=1e19", ErrorCode::WrongNumber},
    {"2x=1", ErrorCode::IllegalAfterNumber},
    {"(x=1)+1", ErrorCode::OpenBeforeEquals},
    {"x=si", ErrorCode::MissingThirdLetter},
    {"si=1", ErrorCode::NoThirdLetter},
    {"foo(x)=1", ErrorCode::UnknownFunction},
    {"x=sin", ErrorCode::MissingFunctionParenthesis},
    {"sinh(x)=1", ErrorCode::IllegalAfterFunctionName},
    {"x2=1", ErrorCode::IllegalAfterLetter},
    {"(x+1", ErrorCode::OpenAtEnd},
    {"y=1", ErrorCode::NoUnknown},
    {"x+1", ErrorCode::NoEquals},
    {"x=1=2", ErrorCode::MultipleEquals},
    {"a/(x+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q)+x+a+b+c+d+e+f+g=1", ErrorCode::TooManyPieces},
    {std::string(31, '(') + "x" + std::string(31, ')') + "=1", ErrorCode::TooDeeplyNested},
    {"x=1000000000*1000000000*10", ErrorCode::Overflow},
    {"x=7/0", ErrorCode::DivisionByZero},
    {"x=log(0)", ErrorCode::LogOfZero},
    {"x=lgt(0)", ErrorCode::LgtOfZero},
    {"x=atn(sqr(-1))", ErrorCode::AtnOfImaginaryUnit},
    {"x=aht(1)", ErrorCode::AhtOfOne},
    {"x*x^x=2", ErrorCode::TooManyLines, true},
    {"2*x-1.5=x/4", ErrorCode::None},
    {"x=10*sin(x-1)", ErrorCode::None, true},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto solver = std::make_unique<engine::EquationSolver>();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The language file as the window loads it: every FrmMain text, the engine's messages included.
    config::CInitFile store(config::Dialect::Plain);
    store.loadFromBytes(bytes);
    config::InterfaceTexts texts;
    texts.load(store, config::Form::Main);
    texts.installEngineMessages(*solver);

    // The input's length picks the dressing, so every option meets the translated texts.
    config::SolveOptions options = config::defaultSolveOptions();
    options.headerFormat = texts.text(config::kKeySolution);
    options.addSpaces = (size & 1) != 0;
    options.addLineNumbers = (size & 2) != 0;
    options.decimalSeparator = (size & 4) != 0 ? "," : "\xD9\xAB";
    for (const Case& c : kCases) {
        if (c.slow && size % 16 != 0)
            continue;
        const config::SolutionBlock block = config::solutionBlock(*solver, c.equation, options);
        check(solver->lastError() == c.error);
        check(block.endedWithError == (c.error != ErrorCode::None));
        // The header may drop neither the equation nor the solution, so a block is never empty.
        check(!block.text.empty());
    }
    return 0;
}
