// SPDX-License-Identifier: MIT
// Number and line formatting: the engine's one number-to-text conversion and the solution lines.
#pragma once

#include "engine/complex_value.h"
#include "engine/piece_string.h"
#include "engine/token_table.h"

#include <string>
#include <string_view>

namespace engine {

/// The line counter value at which no further line is produced: at most 254 lines per solve.
inline constexpr int kLineLimit = 255;

/// value with six significant digits, in fixed notation strictly between 10^-6 and 10^6 in
/// magnitude and as mantissa and exponent otherwise, trailing zeros and a final point removed.
/// Independent of the process locale.
[[nodiscard]] std::string FormatDecimal(double value);
/// Appends FormatDecimal(value) to out.
void appendDecimal(std::string& out, double value);
/// The longest text FormatDecimal gives ("-1.23457e-308" and the like, or inf and nan).
inline constexpr int kMaxDecimalLength = 32;
/// Writes FormatDecimal(value) to out, which has room for kMaxDecimalLength characters, and
/// returns its length.
int writeDecimal(double value, char* out);

/// The text of a value standing alone, as after `x=`: its parts in FormatDecimal's form with the
/// imaginary unit written sqr(-1) (3, -2.5, 1.5-0.866025*sqr(-1), 2*sqr(-1), 0).
[[nodiscard]] std::string formatValue(Complex value);

/// The text of pieces: function tokens as their names (looked up in tokenTable), constant tokens as their
/// values in pool, bracketed where the neighbouring levels need it (levels must be current for pieces),
/// everything else as it stands. No line end.
[[nodiscard]] std::string renderPieces(const PieceString& pieces, const LevelString& levels,
                                       const ConstantPool& pool,
                                       std::string_view tokenTable = kFunctionTokenTable);

/// Appends the text of pieces (as renderPieces gives it) to out.
void appendPieces(std::string& out, const PieceString& pieces, const LevelString& levels,
                  const ConstantPool& pool, std::string_view tokenTable = kFunctionTokenTable);

/// Counts one more line in outputLineCounter and appends the rendering of pieces followed by CR LF
/// to output; false, with output unchanged, once the counter reaches kLineLimit.
[[nodiscard]] bool appendLine(std::string& output, const PieceString& pieces, const LevelString& levels,
                              std::string_view tokenTable, const ConstantPool& pool, int& outputLineCounter);

/// Counts one more line in outputLineCounter and returns the rendering of pieces followed by CR LF,
/// or an empty text once the counter reaches kLineLimit.
[[nodiscard]] std::string FormatLine(const PieceString& pieces, const LevelString& levels,
                                     std::string_view tokenTable, const ConstantPool& pool,
                                     int& outputLineCounter);

} // namespace engine
