// SPDX-License-Identifier: MIT
// Integer relations by lattice reduction: fplll reduces, our own code decides what a row means.
#include "analysis/integer_relation.h"

#include <fplll.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace analysis {

namespace {

/// sum c_i v_i at the values' precision.
PreciseComplex combination(std::span<const PreciseComplex> values, const std::vector<long>& coefficients,
                           int precision)
{
    PreciseComplex sum(Complex{}, precision);
    for (std::size_t i = 0; i < values.size(); ++i)
        sum = sum + values[i].times(coefficients[i]);
    return sum;
}

} // namespace

std::optional<std::vector<long>> findIntegerRelation(std::span<const PreciseComplex> values,
                                                     long maxCoefficient)
{
    const int n = static_cast<int>(values.size());
    if (n < 2 || maxCoefficient < 1)
        return std::nullopt;
    int precision = std::numeric_limits<int>::max();
    bool isComplex = false;
    std::vector<std::array<std::string, 2>> scaled;
    for (const PreciseComplex& value : values)
        precision = std::min(precision, value.precision());
    const int bits = precision - kRelationMargin;
    if (bits < 64)
        return std::nullopt;
    for (const PreciseComplex& value : values) {
        scaled.push_back(value.scaledIntegerParts(bits));
        if (scaled.back()[0].empty() || scaled.back()[1].empty())
            return std::nullopt;
        isComplex = isComplex || scaled.back()[1] != "0";
    }

    const int columns = n + (isComplex ? 2 : 1);
    fplll::ZZ_mat<mpz_t> lattice(n, columns);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < columns; ++j)
            lattice[i][j] = 0L;
        lattice[i][i] = 1L;
        const auto& parts = scaled[static_cast<std::size_t>(i)];
        mpz_set_str(lattice[i][n].get_data(), parts[0].c_str(), 10);
        if (isComplex)
            mpz_set_str(lattice[i][n + 1].get_data(), parts[1].c_str(), 10);
    }
    if (fplll::lll_reduction(lattice) != fplll::RED_SUCCESS)
        return std::nullopt;

    for (int row = 0; row < n; ++row) {
        std::vector<long> coefficients(static_cast<std::size_t>(n));
        bool isSmall = true;
        bool isZero = true;
        for (int i = 0; i < n && isSmall; ++i) {
            mpz_srcptr entry = lattice[row][i].get_data();
            isSmall = mpz_cmpabs_ui(entry, static_cast<unsigned long>(maxCoefficient)) <= 0;
            if (isSmall) {
                coefficients[static_cast<std::size_t>(i)] = mpz_get_si(entry);
                isZero = isZero && coefficients[static_cast<std::size_t>(i)] == 0;
            }
        }
        if (!isSmall || isZero)
            continue;
        double size = 0.0;
        for (int i = 0; i < n; ++i)
            size += std::fabs(static_cast<double>(coefficients[static_cast<std::size_t>(i)])) *
                    values[static_cast<std::size_t>(i)].magnitude();
        const double residual = combination(values, coefficients, precision).magnitude();
        if (std::isfinite(size) && residual <= std::ldexp(size, -bits))
            return coefficients;
    }
    return std::nullopt;
}

} // namespace analysis
