// SPDX-License-Identifier: MIT
// Bounded in-place edits of the engine's NUL-terminated byte strings.
#include "piece_string.h"

#include <cstring>

namespace engine {

int PieceString::lengthFrom(int from) const
{
    // Bytes from the extent on are 0, so the search ends there at the latest.
    if (from >= m_extent)
        return from;
    const void* end = std::memchr(m_bytes.data() + from, 0, static_cast<std::size_t>(m_extent - from));
    return end == nullptr ? m_extent
                          : static_cast<int>(static_cast<const unsigned char*>(end) - m_bytes.data());
}

PieceString& PieceString::operator=(const PieceString& other)
{
    if (this == &other)
        return *this;
    const int extent = std::max(m_extent, other.m_extent);
    std::memcpy(m_bytes.data(), other.m_bytes.data(), static_cast<std::size_t>(extent));
    m_length = other.m_length;
    m_extent = other.m_extent;
    m_overflowed = other.m_overflowed;
    return *this;
}

std::string_view PieceString::view() const
{
    return {reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::size_t>(m_length)};
}

bool PieceString::assign(std::string_view text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    clear();
    if (text.size() >= static_cast<std::size_t>(kCapacity)) {
        m_overflowed = true;
        return false;
    }
    std::memcpy(m_bytes.data(), text.data(), text.size());
    m_length = static_cast<int>(text.size());
    m_extent = m_length;
    return true;
}

void PieceString::clear()
{
    std::memset(m_bytes.data(), 0, static_cast<std::size_t>(m_extent));
    m_length = 0;
    m_extent = 0;
}

bool PieceString::insert(int position, const unsigned char* source, int count)
{
    if (count <= 0)
        count = static_cast<int>(std::strlen(reinterpret_cast<const char*>(source)));
    const int len = m_length;
    position = std::clamp(position, 0, len);
    if (len + count >= kCapacity) {
        m_overflowed = true;
        return false;
    }
    unsigned char* at = m_bytes.data() + position;
    std::memmove(at + count, at, static_cast<std::size_t>(len - position + 1));
    std::memmove(at, source, static_cast<std::size_t>(count));
    m_extent = std::max(m_extent, len + count + 1);
    // A NUL among the inserted bytes ends the string there; otherwise the old terminator moved along.
    const unsigned char* nul = std::find(at, at + count, 0);
    m_length = nul == at + count ? len + count : static_cast<int>(nul - m_bytes.data());
    return true;
}

bool PieceString::insert(int position, std::string_view source)
{
    if (source.empty())
        return true;
    return insert(position, reinterpret_cast<const unsigned char*>(source.data()),
                  static_cast<int>(source.size()));
}

bool PieceString::insert(int position, unsigned char piece)
{
    return insert(position, &piece, 1);
}

void PieceString::erase(int position, int count)
{
    const int len = m_length;
    if (position < 0 || position >= len || count <= 0)
        return;
    count = std::min(count, len - position);
    unsigned char* at = m_bytes.data() + position;
    std::memmove(at, at + count, static_cast<std::size_t>(len - position - count + 1));
    std::memset(m_bytes.data() + len - count, 0, static_cast<std::size_t>(count));
    m_length = len - count;
}

void PieceString::truncate(int position)
{
    const int len = m_length;
    if (position < 0 || position >= len)
        return;
    std::memset(m_bytes.data() + position, 0, static_cast<std::size_t>(len - position));
    m_length = position;
}

} // namespace engine
