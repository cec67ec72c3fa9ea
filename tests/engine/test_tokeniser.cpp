// SPDX-License-Identifier: MIT
// Tokens, levels and the constant pool.
#include "engine/c_locale.h"
#include "engine/complex_arithmetic.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using engine::EquationSolver;

std::vector<int> bytesOf(const engine::PieceString& s, int count)
{
    std::vector<int> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(s[i]);
    return bytes;
}

std::vector<int> piecesOf(const engine::PieceString& s)
{
    return bytesOf(s, s.length());
}

struct TokenRow {
    const char* name;
    const char* input;
    std::vector<int> pieces;
};

TEST(Tokenise, PiecesOfAcceptedEquations)
{
    const TokenRow rows[] = {
        {"FunctionAndPresets", "2*sin(x)=1", {0x82, '*', '|', '(', 'x', ')', '=', 0x81}},
        {"HalfIsPreset", "sin(x)=0.5", {'|', '(', 'x', ')', '=', 0x85}},
        {"ZeroIsCode80", "x=0", {'x', '=', 0x80}},
        {"RepeatedNumberOneCode", "x=3+3", {'x', '=', 0x8B, '+', 0x8B}},
        {"SignIsOwnPiece", "x=-5", {'x', '=', '-', 0x8B}},
        {"ExponentNotation", "2.5e3*x=1", {0x8B, '*', 'x', '=', 0x81}},
        {"NumberWithTrailingE", "x=1e+2", {'x', '=', 0x8B}},
        {"AllPresets",
         "x=1+2+10+4+0.5+2.718281828459045+7.38905609893065+1.6487212707001282",
         {'x', '=', 0x81, '+', 0x82, '+', 0x83, '+', 0x84, '+', 0x85, '+', 0x86, '+', 0x87, '+', 0x88}},
        {"FunctionNames",
         "tan(lgt(sqr(x)))=ahc(1)",
         {'~', '(', ']', '(', '}', '(', 'x', ')', ')', ')', '=', '#', '(', 0x81, ')'}},
    };
    for (const TokenRow& row : rows) {
        auto buffers = std::make_unique<engine::SolverBuffers>();
        ASSERT_EQ(engine::loadEquation(*buffers, row.input), engine::ErrorCode::None) << row.name;
        EXPECT_EQ(piecesOf(buffers->pieces), row.pieces) << row.name;
    }
}

TEST(Tokenise, StoresValuesOfNumbers)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "2.5e3*x=1.5+0x1p3"), engine::ErrorCode::None);
    EXPECT_EQ(buffers->pool.value(0x8B).re, 2500.0);
    EXPECT_EQ(buffers->pool.value(0x8C).re, 1.5);
    // Whatever the C library reads after a digit is part of the number, hexadecimal included.
    EXPECT_EQ(buffers->pool.value(0x8D).re, 8.0);
}

// Numbers are read like the C library's "%lf" in the C locale (this test process keeps it): the
// same value and the same end, for plain decimals and for everything the fast reading hands on
// (hexadecimal, cut exponents, overflow and underflow, a point or letter after the number).
TEST(Tokenise, ReadsNumbersAsTheCLibrary)
{
    std::vector<std::string> texts = {"0",
                                      "5.",
                                      ".5",
                                      ".",
                                      "1e",
                                      "1e+",
                                      "1e-",
                                      "2.5e3",
                                      "1E5",
                                      "0x1p3",
                                      "0x",
                                      "1e400",
                                      "1e-400",
                                      "4.9e-324",
                                      "2.2250738585072011e-308",
                                      "123456789012345678901234567890",
                                      "0.1000000000000000055511151231257827",
                                      "9007199254740993",
                                      "1.5.5",
                                      "7e+05",
                                      "00012",
                                      "3e-0"};
    std::mt19937 random(8u);
    const std::string digits = "0123456789";
    const auto someDigits = [&](int most) {
        std::string text;
        for (int n = static_cast<int>(random() % static_cast<unsigned>(most)); n >= 0; --n)
            text += digits[random() % 10];
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = someDigits(18);
        if (random() % 2 == 0)
            text += "." + someDigits(18);
        if (random() % 3 == 0)
            text += std::string("e") + "+-"[random() % 2] + someDigits(3);
        texts.push_back(text);
    }
    for (const std::string& number : texts) {
        for (const char* after : {"", "+x", "-1", "*", "/", "^2", ")", "=x", "(", "x", ".", "e", ",", "a"}) {
            const std::string text = number + after;
            double expected = 0.0;
            int expectedEnd = 0;
            const bool expectedRead = std::sscanf(text.c_str(), "%lf%n", &expected, &expectedEnd) >= 1;
            double value = -1.0;
            int end = -1;
            ASSERT_EQ(engine::readNumber(text.c_str(), value, end), expectedRead) << text;
            if (expectedRead) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
                    << text;
                ASSERT_EQ(end, expectedEnd) << text;
            }
        }
    }
}

TEST(Tokenise, ReadsNumbersAsInTheCLocale)
{
    const char* const commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
    const char* active = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            active = name;
            break;
        }
    }
    if (active == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    auto solver = std::make_unique<EquationSolver>();
    const std::string solution = solver->Solve("x=2.5");
    const std::string error = solver->Solve("x=1,5");
    const std::string printed = engine::FormatDecimal(3.25);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(solution, "x=2.5\r\n") << active;
    EXPECT_EQ(error, "ERROR 12: CHARACTER 3: Number follows illegal character ','!\r\n") << active;
    EXPECT_EQ(printed, "3.25") << active;
}

struct LevelRow {
    const char* name;
    const char* input;
    std::vector<int> levels;
};

TEST(ComputeLevels, ClassesAndDepths)
{
    const LevelRow rows[] = {
        {"SignAfterProduct", "a*-x=1", {7, 2, 3, 7, 0, 7}},
        {"SignAfterPower", "a^-x=1", {7, 4, 5, 7, 0, 7}},
        {"SignAfterSign", "a--x=1", {7, 1, 1, 7, 0, 7}},
        {"LeadingSign", "-x=5", {1, 7, 0, 7}},
        {"SignAfterEquals", "x=-5", {7, 0, 1, 7}},
        {"Parentheses", "(x+1)*2=sin(x)", {8, 15, 9, 15, 8, 2, 7, 0, 6, 8, 15, 8}},
        {"Nested", "((x))=1", {8, 16, 23, 16, 8, 0, 7}},
    };
    for (const LevelRow& row : rows) {
        auto buffers = std::make_unique<engine::SolverBuffers>();
        ASSERT_EQ(engine::loadEquation(*buffers, row.input), engine::ErrorCode::None) << row.name;
        EXPECT_EQ(bytesOf(buffers->levels, static_cast<int>(row.levels.size()) + 1), [&] {
            auto l = row.levels;
            l.push_back(0);
            return l;
        }()) << row.name;
    }
}

TEST(ComputeLevels, NestingLimit)
{
    auto solver = std::make_unique<EquationSolver>();
    const std::string thirty = std::string(30, '(') + "x" + std::string(30, ')') + "=1";
    EXPECT_EQ(solver->Solve(thirty).rfind(thirty + "\r\n", 0), 0u); // accepted: the first line is the input
    const std::string thirtyOne = std::string(31, '(') + "x" + std::string(31, ')') + "=1";
    EXPECT_EQ(solver->Solve(thirtyOne), "ERROR 26: Too much brace levels (more than 30)!\r\n");
    EXPECT_EQ(solver->lastError(), engine::ErrorCode::TooDeeplyNested);
}

TEST(ApproxEqual, RelativeAndOneSided)
{
    struct Row {
        double a, b;
        bool equal;
    };
    const Row rows[] = {
        {0.0, 0.0, true},        {0.0, 1e-300, false},     {1.0, 1.00000009, true}, {1.0, 1.0000001, false},
        {1.0, 0.9999999, false}, {-2.0, -2.0000001, true}, {2.0, -2.0, false},      {1e-300, 0.0, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine::ApproxEqual(row.a, row.b), row.equal) << row.a << " vs " << row.b;
}

TEST(StoreConstant, ReusesCleansAndRefuses)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=3+7"), engine::ErrorCode::None); // 3 -> 0x8B, 7 -> 0x8C
    auto& pieces = buffers->pieces;
    auto& pool = buffers->pool;

    // Within the tolerance of a preset or an existing entry the code is reused.
    ASSERT_EQ(engine::StoreConstant(pieces, 2, pool, {2.00000001, 0.0}), engine::StoreResult::Stored);
    EXPECT_EQ(pieces[2], 0x82);
    ASSERT_EQ(engine::StoreConstant(pieces, 2, pool, {7.0000001 * 0.99999999, 0.0}),
              engine::StoreResult::Stored);
    EXPECT_EQ(pieces[2], 0x8B); // 7 moved down to the first free code when 3 was overwritten

    // A part negligible against the other disappears; parts below 1e-18 are zero.
    ASSERT_EQ(engine::StoreConstant(pieces, 2, pool, {1.0, 1e-8}), engine::StoreResult::Stored);
    EXPECT_EQ(pieces[2], 0x81);
    ASSERT_EQ(engine::StoreConstant(pieces, 2, pool, {5e-19, 3.0}), engine::StoreResult::Stored);
    EXPECT_EQ(pool.value(pieces[2]).re, 0.0);
    EXPECT_EQ(pool.value(pieces[2]).im, 3.0);

    // Beyond 10^18 nothing is written.
    const unsigned char before = pieces[2];
    EXPECT_EQ(engine::StoreConstant(pieces, 2, pool, {1.5e18, 0.0}), engine::StoreResult::Overflow);
    EXPECT_EQ(engine::StoreConstant(pieces, 2, pool, {0.0, -1.5e18}), engine::StoreResult::Overflow);
    EXPECT_EQ(pieces[2], before);
    EXPECT_EQ(engine::StoreConstant(pieces, 2, pool, {1e18, 0.0}), engine::StoreResult::Stored);
}

TEST(StoreConstant, CompactsCodesBeforeAllocating)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=3+7+9"), engine::ErrorCode::None); // 0x8B, 0x8C, 0x8D
    auto& pieces = buffers->pieces;
    auto& pool = buffers->pool;
    // Without the 3, code 0x8B is free: 9 (0x8D) moves down to it; the 7 being overwritten keeps
    // 0x8C in use, so the new value gets 0x8D.
    engine::DeletePieces(pieces, 2, 2);
    ASSERT_EQ(engine::StoreConstant(pieces, 2, pool, {11.0, 0.0}), engine::StoreResult::Stored);
    EXPECT_EQ(piecesOf(pieces), (std::vector<int>{'x', '=', 0x8D, '+', 0x8B}));
    EXPECT_EQ(pool.value(0x8B).re, 9.0);
    EXPECT_EQ(pool.value(0x8D).re, 11.0);
}

TEST(StoreConstant, PoolFullIsRefusedAndReported)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=3"), engine::ErrorCode::None);
    auto& pieces = buffers->pieces;
    auto& pool = buffers->pool;
    // Fill every code 0x8B-0xFF with a distinct value.
    pieces.assign("x=");
    for (int code = 0x8B; code <= 0xFF; ++code) {
        pieces.insert(pieces.length(), std::string_view("+"));
        pieces.insert(pieces.length(), static_cast<unsigned char>(0x80));
        ASSERT_EQ(engine::StoreConstant(pieces, pieces.length() - 1, pool, {100.0 + code, 0.0}),
                  engine::StoreResult::Stored);
        ASSERT_EQ(pieces[pieces.length() - 1], code);
    }
    pieces.insert(pieces.length(), std::string_view("+"));
    pieces.insert(pieces.length(), static_cast<unsigned char>(0x80));
    const int last = pieces.length() - 1;
    EXPECT_EQ(engine::StoreConstant(pieces, last, pool, {1234.5, 0.0}), engine::StoreResult::PoolFull);
    EXPECT_EQ(pieces[last], 0x80);
    // A value already in the pool still finds its code.
    EXPECT_EQ(engine::StoreConstant(pieces, last, pool, {100.0 + 0x90, 0.0}), engine::StoreResult::Stored);
    EXPECT_EQ(pieces[last], 0x90);
}

TEST(PieceEdits, InsertDeleteFind)
{
    engine::PieceString s;
    s.assign("x=1");
    const unsigned char plus[] = "+y";
    ASSERT_TRUE(engine::InsertPieces(s, 1, plus, 0));
    EXPECT_EQ(s.view(), "x+y=1");
    engine::DeletePieces(s, 0, 2);
    EXPECT_EQ(s.view(), "y=1");
    EXPECT_EQ(s[3], 0);
    EXPECT_EQ(s[4], 0);
    EXPECT_EQ(engine::FindPiece(s, '='), 1);
    EXPECT_EQ(engine::FindPiece(s, 'q'), -1);
    EXPECT_EQ(engine::FindPiece(s, 0), 3);

    // An edit that would not fit is refused and leaves the string as it was.
    const std::string big(engine::PieceString::kCapacity - 2, 'a');
    EXPECT_FALSE(s.insert(0, big));
    EXPECT_TRUE(s.hasOverflowed());
    EXPECT_EQ(s.view(), "y=1");
    EXPECT_EQ(s.at(-1), 0);
    EXPECT_EQ(s.at(engine::PieceString::kCapacity + 5), 0);
}

// The length is kept, not searched: after any mix of edits it is still the place of the first NUL
// of the bytes, as a plain byte array edited the same way shows (writes past the end, NULs written
// or inserted in the middle included).
TEST(PieceEdits, LengthFollowsEveryEdit)
{
    auto string = std::make_unique<engine::PieceString>();
    std::array<char, 256> model{};
    std::mt19937 random(255u);
    const auto position = [&random] { return static_cast<int>(random() % 40); };
    const auto piece = [&random] { return static_cast<char>(random() % 4 == 0 ? 0 : 'a' + random() % 26); };
    for (int step = 0; step < 20000; ++step) {
        const int length = static_cast<int>(std::strlen(model.data()));
        const int at = position();
        char* const bytes = model.data();
        switch (random() % 5) {
        case 0:
            bytes[at] = piece();
            string->set(at, static_cast<unsigned char>(bytes[at]));
            break;
        case 1: {
            if (length > 200)
                break;
            const char inserted[] = {piece(), piece()};
            ASSERT_TRUE(string->insert(at, reinterpret_cast<const unsigned char*>(inserted), 2));
            const int where = std::min(at, length);
            std::memmove(bytes + where + 2, bytes + where, static_cast<std::size_t>(length - where + 1));
            std::memcpy(bytes + where, inserted, 2);
            break;
        }
        case 2:
            string->erase(at, 2);
            if (at < length) {
                const int count = std::min(2, length - at);
                std::memmove(bytes + at, bytes + at + count,
                             static_cast<std::size_t>(length - at - count + 1));
                std::memset(bytes + length - count, 0, static_cast<std::size_t>(count));
            }
            break;
        case 3:
            if (random() % 8 == 0) {
                string->clear();
                model.fill(0);
            }
            break;
        default:
            string->truncate(at);
            if (at < length)
                std::memset(bytes + at, 0, static_cast<std::size_t>(length - at));
            break;
        }
        ASSERT_EQ(string->length(), static_cast<int>(std::strlen(bytes))) << "step " << step;
        ASSERT_EQ(string->view(), std::string_view(bytes)) << "step " << step;
    }
}

} // namespace
