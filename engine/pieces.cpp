// SPDX-License-Identifier: MIT
// Turns validated text into pieces, computes their levels and keeps the constant pool.
#include "engine/pieces.h"

#include "engine/c_locale.h"
#include "engine/complex_arithmetic.h"
#include "engine/token_table.h"

#include <algorithm>
#include <array>
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
    // Compact the codes in use from 0x8B upward, so that every code from `firstFree` on is free.
    const int length = pieces.length();
    const auto occurs = [&](int code) {
        return std::memchr(pieces.data(), code, static_cast<std::size_t>(length)) != nullptr;
    };
    int firstFree = kFirstFreeCode;
    while (firstFree <= 0xFF) {
        if (occurs(firstFree)) {
            ++firstFree;
            continue;
        }
        int highest = firstFree;
        const unsigned char* bytes = pieces.data();
        for (int i = 0; i < length; ++i)
            highest = std::max(highest, static_cast<int>(bytes[i]));
        if (highest == firstFree)
            break;
        const auto from = static_cast<std::size_t>(highest - 0x80);
        const auto to = static_cast<std::size_t>(firstFree - 0x80);
        pool.re[to] = pool.re[from];
        pool.im[to] = pool.im[from];
        for (int i = 0; i < length; ++i) {
            if (pieces[i] == highest)
                pieces.set(i, static_cast<unsigned char>(firstFree));
        }
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

bool ComputeLevels(const PieceString& pieces, LevelString& levels)
{
    levels.clear();
    int depth = 0;
    int i = 0;
    for (; pieces[i] != 0; ++i) {
        const unsigned char piece = pieces[i];
        const unsigned char previous = i > 0 ? pieces[i - 1] : 0;
        int level = 0;
        if (piece == '(') {
            depth += 8;
            level = depth;
        } else if (piece == ')') {
            level = depth;
            depth -= 8;
            if (depth < 0)
                return false;
        } else if (piece == '+' || piece == '-') {
            level = depth + 1;
            if (i > 0 && isSign(previous))
                level = levels[i - 1];
            else if (previous == '*' || previous == '/')
                level = depth + 3;
            else if (previous == '^')
                level = depth + 5;
        } else if (piece == '*' || piece == '/') {
            level = depth + 2;
        } else if (piece == '^') {
            level = depth + 4;
        } else if (isLetter(piece) || isConstantToken(piece)) {
            level = depth + 7;
        } else if (isFunctionToken(piece)) {
            level = depth + 6;
        } else if (piece == '=') {
            level = 0;
        }
        if (level >= 248)
            return false;
        levels.set(i, static_cast<unsigned char>(level));
    }
    return true;
}

void writePresets(ConstantPool& pool)
{
    const std::array<double, 10> presets = {1.0,           2.0,           10.0,          4.0,  0.5,
                                            std::exp(1.0), std::exp(2.0), std::exp(0.5), -1.0, -2.0};
    for (std::size_t i = 0; i < presets.size(); ++i)
        pool.re[i + 1] = presets[i];
}

} // namespace engine
