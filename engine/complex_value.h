// SPDX-License-Identifier: MIT
// The engine's complex number and the pools that hold the values of constant tokens.
#pragma once

#include <array>

namespace engine {

/// Every engine number is a pair of doubles.
struct Complex {
    double re = 0.0;
    double im = 0.0;
};

/// Values of the constant tokens 0x80-0xFF: entry (code - 0x80). 0x80 is zero and never written,
/// 0x81-0x8A are the presets written at the start of every solve, 0x8B-0xFF are the equation's own.
struct ConstantPool {
    static constexpr int kSize = 128;
    std::array<double, kSize> re{};
    std::array<double, kSize> im{};

    [[nodiscard]] Complex value(unsigned char code) const
    {
        const int i = code - 0x80;
        if (i < 0)
            return {};
        return {re[static_cast<std::size_t>(i)], im[static_cast<std::size_t>(i)]};
    }
};

/// The numeric search evaluates trial values in a second pool of the same shape.
using TrialPool = ConstantPool;

} // namespace engine
