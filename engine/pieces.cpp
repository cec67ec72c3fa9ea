// SPDX-License-Identifier: MIT
// Turns validated text into pieces, computes their levels and keeps the constant pool.
#include "engine/pieces.h"

#include "engine/c_locale.h"
#include "engine/complex_arithmetic.h"
#include "engine/token_table.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstring>

namespace engine {

bool InsertPieces(PieceString& destination, int position, const unsigned char* source, int count)
{
    return destination.insert(position, source, count);
}

void DeletePieces(PieceString& string, int position, int count)
{
    string.erase(position, count);
}

int FindPiece(const PieceString& string, unsigned char piece)
{
    const int length = string.length();
    if (piece == 0)
        return length;
    const void* hit = std::memchr(string.data(), piece, static_cast<std::size_t>(length));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const unsigned char*>(hit) - string.data());
}

StoreResult StoreConstant(PieceString& pieces, int position, ConstantPool& pool, Complex value)
{
    // Compact the codes in use from 0x8B upward, so that every code from `firstFree` on is free:
    // the highest code in use moves down into each gap.
    const int length = pieces.length();
    const unsigned char* bytes = pieces.data();
    std::bitset<256> used;
    int highest = 0;
    for (int i = 0; i < length; ++i) {
        used.set(bytes[i]);
        highest = std::max(highest, static_cast<int>(bytes[i]));
    }
    int firstFree = kFirstFreeCode;
    while (firstFree <= 0xFF) {
        if (used.test(static_cast<std::size_t>(firstFree))) {
            ++firstFree;
            continue;
        }
        if (highest < firstFree)
            break;
        const auto from = static_cast<std::size_t>(highest - 0x80);
        const auto to = static_cast<std::size_t>(firstFree - 0x80);
        pool.re[to] = pool.re[from];
        pool.im[to] = pool.im[from];
        for (int i = 0; i < length; ++i) {
            if (pieces[i] == highest)
                pieces.set(i, static_cast<unsigned char>(firstFree));
        }
        used.reset(static_cast<std::size_t>(highest));
        used.set(static_cast<std::size_t>(firstFree));
        while (!used.test(static_cast<std::size_t>(highest)))
            --highest;
        ++firstFree;
    }

    // Parts negligible against the other part, or below 10^-18, become exactly 0.
    double re = value.re;
    double im = value.im;
    if (ApproxEqual(re, re + im) || (im > -1e-18 && im < 1e-18))
        im = 0.0;
    if (ApproxEqual(im, re + im) || (re > -1e-18 && re < 1e-18))
        re = 0.0;
    if (!std::isfinite(re) || !std::isfinite(im) || re > 1e18 || re < -1e18 || im > 1e18 || im < -1e18)
        return StoreResult::Overflow;

    int code = -1;
    for (int c = 0x80; c < firstFree; ++c) {
        const auto i = static_cast<std::size_t>(c - 0x80);
        if (ApproxEqual(pool.re[i], re) && ApproxEqual(pool.im[i], im)) {
            code = c;
            break;
        }
    }
    if (code < 0) {
        if (firstFree > 0xFF)
            return StoreResult::PoolFull;
        code = firstFree;
        pool.re[static_cast<std::size_t>(code - 0x80)] = re;
        pool.im[static_cast<std::size_t>(code - 0x80)] = im;
    }
    pieces.set(position, static_cast<unsigned char>(code));
    return StoreResult::Stored;
}

StoreResult Tokenise(PieceString& pieces, ConstantPool& pool)
{
    PieceString& s = pieces;
    int read = 0;
    int write = 0;
    while (s[read] != 0) {
        s.set(write, s[read]);
        if (isLetter(s[read]) && isLetter(s[read + 1]) && isLetter(s[read + 2])) {
            const std::string_view name(reinterpret_cast<const char*>(s.data()) + read, 3);
            if (const unsigned char token = functionTokenOf(name); token != 0)
                s.set(write, token);
            read += 2;
        }
        const unsigned char c = s[read];
        if ((c >= '0' && c <= '9') || c == '.') {
            double value = 0.0;
            int consumed = 1;
            // The text from `read` on is untouched: writes never pass the read index.
            if (!readNumber(reinterpret_cast<const char*>(s.data()) + read, value, consumed))
                consumed = 1;
            const StoreResult stored = StoreConstant(s, write, pool, {value, 0.0});
            if (stored != StoreResult::Stored) {
                s.clear();
                return stored;
            }
            read += consumed - 1;
        }
        ++read;
        ++write;
    }
    s.truncate(write);
    return StoreResult::Stored;
}

namespace {

/// What a piece contributes to its level: `(` deepens before its level is taken, `)` after; the
/// level is the depth plus the precedence class, or 0 for `=` and unknown pieces; a sign takes
/// its level from the piece before it.
struct LevelRule {
    int open = 0;      // added to the depth before the level is taken
    int close = 0;     // taken from the depth afterwards
    int withDepth = 0; // 1 when the level counts the depth
    int offset = 0;    // the precedence class
    bool sign = false;
};

constexpr std::array<LevelRule, 256> kLevelRules = [] {
    std::array<LevelRule, 256> rules{};
    for (int piece = 1; piece < 256; ++piece) {
        const auto c = static_cast<unsigned char>(piece);
        LevelRule& rule = rules[static_cast<std::size_t>(piece)];
        rule.withDepth = 1;
        if (c == '(')
            rule.open = 8;
        else if (c == ')')
            rule.close = 8;
        else if (isSign(c))
            rule.sign = true;
        else if (c == '*' || c == '/')
            rule.offset = 2;
        else if (c == '^')
            rule.offset = 4;
        else if (isLetter(c) || isConstantToken(c))
            rule.offset = 7;
        else if (isFunctionToken(c))
            rule.offset = 6;
        else
            rule.withDepth = 0; // `=` and anything unknown: level 0
    }
    return rules;
}();

/// The class of a sign after each piece: it binds more tightly after * / (3) and ^ (5). After
/// another sign it shares that sign's level instead.
constexpr std::array<int, 256> kSignClassAfter = [] {
    std::array<int, 256> classes{};
    classes.fill(1);
    classes['*'] = 3;
    classes['/'] = 3;
    classes['^'] = 5;
    return classes;
}();

} // namespace

bool ComputeLevels(const PieceString& pieces, LevelString& levels)
{
    const unsigned char* bytes = pieces.data();
    const int count = pieces.length();
    return levels.rewrite(count, [bytes, count](unsigned char* out) {
        int depth = 0;
        for (int i = 0; i < count; ++i) {
            const unsigned char piece = bytes[i];
            const LevelRule& rule = kLevelRules[piece];
            int level = 0;
            if (rule.sign) {
                const unsigned char previous = i > 0 ? bytes[i - 1] : 0;
                level = isSign(previous) ? out[i - 1] : depth + kSignClassAfter[previous];
            } else if (rule.open != 0) {
                depth += 8;
                level = depth;
            } else if (rule.close != 0) {
                level = depth;
                depth -= 8;
                if (depth < 0)
                    return false;
            } else if (rule.withDepth != 0) {
                level = depth + rule.offset;
            }
            if (level >= 248)
                return false;
            out[i] = static_cast<unsigned char>(level);
        }
        return true;
    });
}

void writePresets(ConstantPool& pool)
{
    const std::array<double, 10> presets = {1.0,           2.0,           10.0,          4.0,  0.5,
                                            std::exp(1.0), std::exp(2.0), std::exp(0.5), -1.0, -2.0};
    for (std::size_t i = 0; i < presets.size(); ++i)
        pool.re[i + 1] = presets[i];
}

} // namespace engine
