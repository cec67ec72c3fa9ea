// SPDX-License-Identifier: MIT
// Fixed-capacity NUL-terminated byte string used for pieces, levels and the rule scratch buffers.
#pragma once

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

    /// Writable byte at index i. Outside the buffer it yields a harmless scratch byte holding 0 instead;
    /// an index at or beyond the end of the usable buffer (the last byte always stays the terminator)
    /// also marks the string as overflowed. A negative index (the piece before the first, read through
    /// a non-const string) does not.
    unsigned char& operator[](int i)
    {
        if (i < 0 || i >= kCapacity - 1)
            return outOfRange(i);
        if (i >= m_extent)
            m_extent = i + 1;
        return m_bytes[static_cast<std::size_t>(i)];
    }

    /// Length up to the terminator (what the engine's `FindPiece(s, 0)` returns).
    [[nodiscard]] int length() const;
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
    unsigned char& outOfRange(int i);

    std::array<unsigned char, kCapacity> m_bytes{};
    int m_extent = 0; // every byte from here on is 0, so clearing stays cheap
    unsigned char m_scratch = 0;
    bool m_overflowed = false;
};

/// The level string has the same shape; the alias keeps signatures readable.
using LevelString = PieceString;

} // namespace engine
