// SPDX-License-Identifier: MIT
// Bounded in-place edits of the engine's NUL-terminated byte strings.
#include "piece_string.h"

#include <algorithm>
#include <cstring>

namespace engine {

unsigned char& PieceString::outOfRange(int i)
{
    if (i >= 0)
        m_overflowed = true;
    m_scratch = 0;
    return m_scratch;
}

PieceString& PieceString::operator=(const PieceString& other)
{
    if (this == &other)
        return *this;
    const int extent = std::max(m_extent, other.m_extent);
    std::memcpy(m_bytes.data(), other.m_bytes.data(), static_cast<std::size_t>(extent));
    m_extent = other.m_extent;
    m_overflowed = other.m_overflowed;
    return *this;
}

int PieceString::length() const
{
    const void* end = std::memchr(m_bytes.data(), 0, m_bytes.size());
    return static_cast<int>(static_cast<const unsigned char*>(end) - m_bytes.data());
}

std::string_view PieceString::view() const
{
    return {reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::size_t>(length())};
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
    m_extent = static_cast<int>(text.size());
    return true;
}

void PieceString::clear()
{
    std::memset(m_bytes.data(), 0, static_cast<std::size_t>(m_extent));
    m_extent = 0;
}

bool PieceString::insert(int position, const unsigned char* source, int count)
{
    if (count <= 0)
        count = static_cast<int>(std::strlen(reinterpret_cast<const char*>(source)));
    const int len = length();
    position = std::clamp(position, 0, len);
    if (len + count >= kCapacity) {
        m_overflowed = true;
        return false;
    }
    unsigned char* at = m_bytes.data() + position;
    std::memmove(at + count, at, static_cast<std::size_t>(len - position + 1));
    std::memmove(at, source, static_cast<std::size_t>(count));
    m_extent = std::max(m_extent, len + count + 1);
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
    const int len = length();
    if (position < 0 || position >= len || count <= 0)
        return;
    count = std::min(count, len - position);
    unsigned char* at = m_bytes.data() + position;
    std::memmove(at, at + count, static_cast<std::size_t>(len - position - count + 1));
    std::memset(m_bytes.data() + len - count, 0, static_cast<std::size_t>(count));
}

void PieceString::truncate(int position)
{
    const int len = length();
    if (position < 0 || position >= len)
        return;
    std::memset(m_bytes.data() + position, 0, static_cast<std::size_t>(len - position));
}

} // namespace engine
