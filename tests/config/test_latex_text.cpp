// SPDX-License-Identifier: MIT
#include "config/latex_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(LatexMath, WritesTheNotationAsMaths)
{
    const struct {
        const char* line;
        const char* separator;
        const char* expected;
    } rows[] = {
        {"x ^ 2 - 5 * x + 6 = 0", ".", "x^{2}-5\\cdot x+6=0"},
        // A bracketed exponent loses its brackets; a chain is read from the left, as the engine does.
        {"x = 4 ^ (1 / 2)", ".", "x=4^{1/2}"},
        {"x=2^3^2", ".", "x={2^{3}}^{2}"},
        {"x=2^-1", ".", "x=2^{-1}"},
        {"(0.5 + x) ^ 2 =  - 0.75", ".", "(0.5+x)^{2}=-0.75"},
        // The imaginary unit, radicals and every kind of function name.
        {"x =  - 0.5 + 0.866025 * sqr( - 1)", ".", "x=-0.5+0.866025\\cdot \\mathrm{i}"},
        {"sqr(x+1)=sqr(-3)", ".", "\\sqrt{x+1}=\\sqrt{-3}"},
        {"x=sqr(-1)^2", ".", "x=\\mathrm{i}^{2}"},
        {"log(x)=lgt(2)", ".", "\\ln(x)=\\lg(2)"},
        {"asn(x)=htn(ahc(a))", ".", "\\arcsin(x)=\\tanh(\\operatorname{arcosh}(a))"},
        {"x = π / 6 + 2 * π * k", ".", "x=\\pi /6+2\\cdot \\pi \\cdot k"},
        // The engine's powers of ten, with and without blanks, also as a base.
        {"x = 1e - 7", ".", "x=1\\cdot 10^{-7}"},
        {"x=1.23457e11", ".", "x=1.23457\\cdot 10^{11}"},
        {"x=5.1e-7^2", ".", "x=(5.1\\cdot 10^{-7})^{2}"},
        {"x = 2 * e - 7", ".", "x=2\\cdot e-7"},
        // The decimal separator.
        {"x = 2,5 ^ 0,5", ",", "x=2{,}5^{0{,}5}"},
        {"x=2'5", "'", "x=2{\\text{'}}5"},
    };
    for (const auto& row : rows) {
        const std::optional<std::string> latex = config::latexMath(row.line, row.separator);
        ASSERT_TRUE(latex.has_value()) << row.line;
        EXPECT_EQ(*latex, row.expected) << row.line;
    }
}

TEST(LatexMath, LeavesEverythingElseToText)
{
    for (const char* line :
         {"Solution of 'x=1'", "ERROR 28: Division by '0' is not possible!", "x = (1", "x = 1)", "x ^",
          "x ^ ^ 2", "sqr x", "sin", "x = ()", "Check: both sides equal 0.", "", "x = 2; x = 3"})
        EXPECT_FALSE(config::latexMath(line, ".").has_value()) << line;
}

TEST(LatexText, EscapesWhatLatexWouldRead)
{
    EXPECT_EQ(config::latexText("<a#b$c%d&e_f{g}h^i~j\\k|"),
              "\\textless{}a\\#b\\$c\\%d\\&e\\_f\\{g\\}h\\textasciicircum{}i\\textasciitilde{}"
              "j\\textbackslash{}k\\textbar{}");
    EXPECT_EQ(config::latexText("x \xE2\x86\x92 \xCF\x80\tvaleur\xC2\xA0: \xC3\xA9"),
              "x $\\rightarrow$ $\\pi$ valeur~: \xC3\xA9");
}

TEST(LatexOfText, WritesABlockPerEnvironmentAndARowPerLine)
{
    const std::string view = "Solution of 'x^2=4'\r\n"
                             "x ^ 2 = 4              \xE2\x86\x90 equation as entered\r\n"
                             "1) <=> x = 4 ^ (1 / 2)  \xE2\x86\x90 exponent 2 undone with a root\r\n"
                             "2) <=> x = 2\r\n"
                             "Check: both sides equal 4.\r\n"
                             "\r\n"
                             "--------------------------------------------------------\r\n"
                             "Solution of '1/x=0'\r\n"
                             "ERROR 28: Division by '0' is not possible!";
    EXPECT_EQ(config::latexOfText(view, {"<=> ", "."}),
              "\\begin{align*}\n"
              " & \\text{Solution of 'x\\textasciicircum{}2=4'} \\\\\n"
              " & x^{2}=4 && \\text{equation as entered} \\\\\n"
              "\\text{1)}\\quad \\iff & x=4^{1/2} && \\text{exponent 2 undone with a root} \\\\\n"
              "\\text{2)}\\quad \\iff & x=2 \\\\\n"
              " & \\text{Check: both sides equal 4.}\n"
              "\\end{align*}\n"
              "\n"
              "\\begin{align*}\n"
              " & \\text{Solution of '1/x=0'} \\\\\n"
              " & \\text{ERROR 28: Division by '0' is not possible!}\n"
              "\\end{align*}\n");
    // Another equivalence text is words.
    EXPECT_EQ(config::latexOfText("x=1\n=> x=2\n", {"=> ", ","}),
              "\\begin{align*}\n & x=1 \\\\\n\\text{=\\textgreater{}} & x=2\n\\end{align*}\n");
    // No marker, and an empty separator, which stands for ".".
    EXPECT_EQ(config::latexOfText("x = 1.5\r\nx = 2", {"", ""}),
              "\\begin{align*}\n & x=1.5 \\\\\n & x=2\n\\end{align*}\n");
    EXPECT_EQ(config::latexOfText("\r\n\r\n----\r\n", {"<=> ", "."}), "");
}

} // namespace
