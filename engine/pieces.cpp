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
    const auto [re, im] = withoutNegligibleParts(value);
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

/// What a piece contributes to its level.
enum class LevelKind : unsigned char { Other, Open, Close, Sign, Product, Power, Operand, Function };

constexpr std::array<LevelKind, 256> kLevelKinds = [] {
    std::array<LevelKind, 256> kinds{};
    for (int piece = 1; piece < 256; ++piece) {
        const auto c = static_cast<unsigned char>(piece);
        LevelKind kind = LevelKind::Other;
        if (c == '(')
            kind = LevelKind::Open;
        else if (c == ')')
            kind = LevelKind::Close;
        else if (isSign(c))
            kind = LevelKind::Sign;
        else if (c == '*' || c == '/')
            kind = LevelKind::Product;
        else if (c == '^')
            kind = LevelKind::Power;
        else if (isLetter(c) || isConstantToken(c))
            kind = LevelKind::Operand;
        else if (isFunctionToken(c))
            kind = LevelKind::Function;
        kinds[static_cast<std::size_t>(piece)] = kind;
    }
    return kinds;
}();

/// A sign after a sign shares its level; after * / or ^ it binds more tightly.
int signLevel(unsigned char previous, int previousLevel, int depth)
{
    if (isSign(previous))
        return previousLevel;
    if (previous == '*' || previous == '/')
        return depth + 3;
    if (previous == '^')
        return depth + 5;
    return depth + 1;
}

} // namespace

bool ComputeLevels(const PieceString& pieces, LevelString& levels)
{
    const unsigned char* bytes = pieces.data();
    const int count = pieces.length();
    return levels.rewrite(count, [bytes, count](unsigned char* out) {
        int depth = 0;
        for (int i = 0; i < count; ++i) {
            int level = 0; // `=` and anything unknown
            switch (kLevelKinds[bytes[i]]) {
            case LevelKind::Open:
                depth += 8;
                level = depth;
                break;
            case LevelKind::Close:
                level = depth;
                depth -= 8;
                if (depth < 0)
                    return false;
                break;
            case LevelKind::Sign:
                level = signLevel(i > 0 ? bytes[i - 1] : 0, i > 0 ? out[i - 1] : 0, depth);
                break;
            case LevelKind::Product:
                level = depth + 2;
                break;
            case LevelKind::Power:
                level = depth + 4;
                break;
            case LevelKind::Operand:
                level = depth + 7;
                break;
            case LevelKind::Function:
                level = depth + 6;
                break;
            case LevelKind::Other:
                break;
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
