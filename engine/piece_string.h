// SPDX-License-Identifier: MIT
// Fixed-capacity NUL-terminated byte string used for pieces, levels and the rule scratch buffers.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace engine {

/// A NUL-terminated byte string in a fixed buffer, the engine's working form of an equation
/// (`PieceString`) and of its precedence levels (`LevelString`).
///
/// Every byte after the terminator is kept 0, so algorithms that look one or two places past the
/// end read 0, as do reads at negative indexes or beyond the buffer (`at`). The capacity is far
/// above the 255 pieces the driver allows, so that one transformation of a 255-piece equation
/// (a rule copying bindings, a fraction cleared in every term) always fits; an edit that would
/// still not fit is refused and recorded in `hasOverflowed`, which the driver reports as ERROR 25.
class PieceString {
public:
    static constexpr int kCapacity = 32768;

    PieceString() { m_bytes.fill(0); }
    PieceString(const PieceString&) = default;
    PieceString& operator=(const PieceString& other);

    /// The byte at index i, or 0 for any index outside the buffer.
    [[nodiscard]] unsigned char at(int i) const
    {
        return (i >= 0 && i < kCapacity) ? m_bytes[static_cast<std::size_t>(i)] : 0;
    }
    [[nodiscard]] unsigned char operator[](int i) const { return at(i); }

    /// Writes piece at index i. Outside the buffer nothing is written; an index at or beyond the end
    /// of the usable buffer (the last byte always stays the terminator) marks the string as
    /// overflowed, a negative index (the piece before the first) does not.
    void set(int i, unsigned char piece)
    {
        if (i < 0 || i >= kCapacity - 1) {
            if (i >= 0)
                m_overflowed = true;
            return;
        }
        m_bytes[static_cast<std::size_t>(i)] = piece;
        if (piece == 0) {
            m_length = std::min(m_length, i);
            return;
        }
        if (i >= m_extent)
            m_extent = i + 1;
        if (i == m_length)
            m_length = i + 1 == m_extent ? m_extent : lengthFrom(i + 1);
    }

    /// Replaces the content by up to count bytes (count below kCapacity) that fill writes through
    /// the pointer it is given; bytes it leaves out stay 0, and the string ends at the first NUL.
    /// Returns what fill returns. For whole-string rewrites in inner loops, such as levels.
    template <typename Fill> bool rewrite(int count, Fill fill)
    {
        clear();
        count = std::clamp(count, 0, kCapacity - 1);
        const bool result = fill(m_bytes.data());
        m_extent = count;
        m_length = lengthFrom(0);
        return result;
    }

    /// Length up to the terminator (what the engine's `FindPiece(s, 0)` returns); kept, not searched.
    [[nodiscard]] int length() const { return m_length; }
    [[nodiscard]] bool isEmpty() const { return m_bytes[0] == 0; }
    [[nodiscard]] const unsigned char* data() const { return m_bytes.data(); }
    [[nodiscard]] std::string_view view() const;

    /// Replaces the content by text (cut at its first NUL); false, leaving the string empty and
    /// marked overflowed, when the text does not fit.
    bool assign(std::string_view text);
    void clear();

    /// Inserts count bytes of source at position (count 0: all of source up to its NUL).
    /// Refused (false, overflow marked, nothing changed) when the result would not fit.
    bool insert(int position, const unsigned char* source, int count);
    bool insert(int position, std::string_view source);
    bool insert(int position, unsigned char piece);
    /// Removes count bytes at position, shifting the rest (with the terminator) left.
    void erase(int position, int count);
    /// Cuts the string at position. Meant for piece strings: a level string holds 0 for `=`, so
    /// its length() is not the number of pieces.
    void truncate(int position);

    [[nodiscard]] bool hasOverflowed() const { return m_overflowed; }
    void clearOverflow() { m_overflowed = false; }
    /// Records that a result did not fit, for an edit refused before it reached the string.
    void markOverflowed() { m_overflowed = true; }

private:
    /// The first NUL at or after from: the new length once the terminator at from - 1 was overwritten.
    [[nodiscard]] int lengthFrom(int from) const;

    std::array<unsigned char, kCapacity> m_bytes{};
    int m_length = 0; // index of the first NUL
    int m_extent = 0; // every byte from here on is 0, so clearing stays cheap
    bool m_overflowed = false;
};

/// The level string has the same shape; the alias keeps signatures readable.
using LevelString = PieceString;

} // namespace engine
