// SPDX-License-Identifier: MIT
// The solution view's text as LaTeX: align* environments of maths and \text{} rows.
#include "config/latex_text.h"

#include "config/settings.h"
#include "config/solve_command.h"

#include <array>
#include <cstddef>
#include <vector>

namespace config {

namespace {

constexpr std::string_view kPi = "\xCF\x80";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

// Characters of the program's texts that LaTeX's text mode has no glyph for, as inline maths.
struct TextSymbol {
    std::string_view utf8;
    std::string_view latex;
};
constexpr auto kTextSymbols = std::to_array<TextSymbol>({
    {kPi, "$\\pi$"},
    {kNoBreakSpace, "~"},
    {"\xE2\x86\x90", "$\\leftarrow$"},
    {"\xE2\x86\x92", "$\\rightarrow$"},
    {"\xC2\xB7", "$\\cdot$"},
});

// The functions by their standard names; sqr is written as a radical instead.
struct FunctionName {
    std::string_view name;
    std::string_view latex;
};
constexpr auto kFunctionNames = std::to_array<FunctionName>({
    {"sin", "\\sin"},
    {"cos", "\\cos"},
    {"tan", "\\tan"},
    {"exp", "\\exp"},
    {"log", "\\ln"},
    {"lgt", "\\lg"},
    {"asn", "\\arcsin"},
    {"acs", "\\arccos"},
    {"atn", "\\arctan"},
    {"hsn", "\\sinh"},
    {"hcs", "\\cosh"},
    {"htn", "\\tanh"},
    {"ahs", "\\operatorname{arsinh}"},
    {"ahc", "\\operatorname{arcosh}"},
    {"aht", "\\operatorname{artanh}"},
    {"sqr", ""},
});

enum class TokenKind { Number, Letter, Pi, Function, Open, Close, Power, Operator };

struct Token {
    TokenKind kind = TokenKind::Operator;
    std::string latex;       ///< what the token writes (a function: its command)
    bool isSqr = false;      ///< the function sqr
    bool isOne = false;      ///< the number 1 exactly
    bool isCompound = false; ///< a number with a power of ten, bracketed as a base
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string separatorLatex(std::string_view separator)
{
    if (separator == ".")
        return ".";
    if (separator == ",")
        return "{,}";
    return "{\\text{" + latexText(separator) + "}}";
}

std::size_t digitsFrom(std::string_view line, std::size_t i)
{
    while (i < line.size() && isDigit(line[i]))
        ++i;
    return i;
}

// A number: digits, the separator and digits, then "e", a sign and digits (the engine's form of
// very small and very large values).
Token numberAt(std::string_view line, std::size_t& i, std::string_view separator)
{
    Token token;
    token.kind = TokenKind::Number;
    const std::size_t start = i;
    i = digitsFrom(line, i);
    token.latex = line.substr(start, i - start);
    if (line.substr(i).starts_with(separator) && i + separator.size() < line.size() &&
        isDigit(line[i + separator.size()])) {
        const std::size_t fraction = i + separator.size();
        i = digitsFrom(line, fraction);
        token.latex += separatorLatex(separator);
        token.latex += line.substr(fraction, i - fraction);
    }
    token.isOne = token.latex == "1";
    // The engine writes a power of ten right after the digits, with blanks around its sign when
    // it adds them around operators: "1e18", "5.1e-7", "5.1e - 7".
    if (i < line.size() && line[i] == 'e') {
        std::size_t exponent = i + 1;
        std::string sign;
        const std::size_t signAt = line.find_first_not_of(' ', exponent);
        if (signAt != std::string_view::npos && (line[signAt] == '+' || line[signAt] == '-')) {
            if (line[signAt] == '-')
                sign = "-";
            exponent = line.find_first_not_of(' ', signAt + 1);
            if (exponent == std::string_view::npos)
                exponent = line.size();
        }
        if (exponent < line.size() && isDigit(line[exponent])) {
            i = digitsFrom(line, exponent);
            token.latex += "\\cdot 10^{" + sign + std::string(line.substr(exponent, i - exponent)) + "}";
            token.isCompound = true;
            token.isOne = false;
        }
    }
    return token;
}

std::optional<std::vector<Token>> tokensOf(std::string_view line, std::string_view separator)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (isDigit(c)) {
            tokens.push_back(numberAt(line, i, separator));
        } else if (isLetter(c)) {
            const std::size_t start = i;
            while (i < line.size() && isLetter(line[i]))
                ++i;
            const std::string_view word = line.substr(start, i - start);
            if (word.size() == 1) {
                tokens.push_back({TokenKind::Letter, std::string(word)});
                continue;
            }
            const FunctionName* function = nullptr;
            for (const FunctionName& row : kFunctionNames) {
                if (row.name == word)
                    function = &row;
            }
            // A function name stands right before its bracket; any other word is not maths.
            if (function == nullptr || i >= line.size() || line[i] != '(')
                return std::nullopt;
            Token token{TokenKind::Function, std::string(function->latex)};
            token.isSqr = word == "sqr";
            tokens.push_back(token);
        } else if (line.substr(i).starts_with(kPi)) {
            tokens.push_back({TokenKind::Pi, "\\pi "});
            i += kPi.size();
        } else {
            switch (c) {
            case '(':
                tokens.push_back({TokenKind::Open, "("});
                break;
            case ')':
                tokens.push_back({TokenKind::Close, ")"});
                break;
            case '^':
                tokens.push_back({TokenKind::Power, "^"});
                break;
            case '*':
                tokens.push_back({TokenKind::Operator, "\\cdot "});
                break;
            case '+':
            case '-':
            case '/':
            case '=':
                tokens.push_back({TokenKind::Operator, std::string(1, c)});
                break;
            default:
                return std::nullopt;
            }
            ++i;
        }
    }
    return tokens;
}

// What a sequence of tokens has written so far: the operands are kept apart so that a power can
// take the one before it as its base.
struct Piece {
    std::string latex;
    bool isOperand = false;
    bool hasSuperscript = false;
    bool isCompound = false;
    std::string bracketed; ///< a bracketed operand: what stands between its brackets
};

Piece operatorPiece(std::string latex)
{
    Piece piece;
    piece.latex = std::move(latex);
    return piece;
}

Piece operandPiece(std::string latex, bool isCompound = false, std::string bracketed = {})
{
    Piece piece;
    piece.latex = std::move(latex);
    piece.isOperand = true;
    piece.isCompound = isCompound;
    piece.bracketed = std::move(bracketed);
    return piece;
}

class MathWriter {
public:
    explicit MathWriter(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    std::optional<std::string> write()
    {
        std::optional<std::string> result = sequence(false);
        if (!result || m_next != m_tokens.size() || result->empty())
            return std::nullopt;
        return result;
    }

private:
    [[nodiscard]] bool at(TokenKind kind) const
    {
        return m_next < m_tokens.size() && m_tokens[m_next].kind == kind;
    }

    // Operands and operators up to the end, or up to the closing bracket of a group.
    std::optional<std::string> sequence(bool inGroup)
    {
        std::vector<Piece> pieces;
        while (m_next < m_tokens.size() && !at(TokenKind::Close)) {
            if (at(TokenKind::Power)) {
                if (pieces.empty() || !pieces.back().isOperand || !power(pieces.back()))
                    return std::nullopt;
            } else if (at(TokenKind::Operator)) {
                pieces.push_back(operatorPiece(m_tokens[m_next++].latex));
            } else {
                std::optional<Piece> piece = operand();
                if (!piece)
                    return std::nullopt;
                pieces.push_back(std::move(*piece));
            }
        }
        if (at(TokenKind::Close) != inGroup)
            return std::nullopt;
        std::string latex;
        for (const Piece& piece : pieces)
            latex += piece.latex;
        return latex;
    }

    // "^", its signs and its operand, written as the superscript of base.
    bool power(Piece& base)
    {
        ++m_next;
        std::string exponent;
        while (at(TokenKind::Operator) && (m_tokens[m_next].latex == "-" || m_tokens[m_next].latex == "+"))
            exponent += m_tokens[m_next++].latex;
        std::optional<Piece> operandPiece = operand();
        if (!operandPiece)
            return false;
        // A bracketed exponent needs no brackets in the superscript: the braces group it.
        exponent += operandPiece->bracketed.empty() ? operandPiece->latex : operandPiece->bracketed;
        if (base.hasSuperscript)
            base.latex = "{" + base.latex + "}";
        else if (base.isCompound)
            base.latex = "(" + base.latex + ")";
        base.latex += "^{" + exponent + "}";
        base.hasSuperscript = true;
        base.bracketed.clear();
        return true;
    }

    // What stands between a bracket and its partner, the brackets consumed.
    std::optional<std::string> group()
    {
        ++m_next;
        std::optional<std::string> inner = sequence(true);
        if (!inner || inner->empty() || !at(TokenKind::Close))
            return std::nullopt;
        ++m_next;
        return inner;
    }

    [[nodiscard]] bool isMinusOne(std::size_t at) const
    {
        return at + 2 < m_tokens.size() && m_tokens[at].latex == "-" && m_tokens[at + 1].isOne &&
               m_tokens[at + 2].kind == TokenKind::Close;
    }

    std::optional<Piece> operand()
    {
        if (m_next >= m_tokens.size())
            return std::nullopt;
        const Token& token = m_tokens[m_next];
        switch (token.kind) {
        case TokenKind::Number:
        case TokenKind::Letter:
        case TokenKind::Pi:
            ++m_next;
            return operandPiece(token.latex, token.isCompound);
        case TokenKind::Open: {
            std::optional<std::string> inner = group();
            if (!inner)
                return std::nullopt;
            return operandPiece("(" + *inner + ")", false, *inner);
        }
        case TokenKind::Function: {
            ++m_next;
            if (!at(TokenKind::Open))
                return std::nullopt;
            const bool isImaginaryUnit = token.isSqr && isMinusOne(m_next + 1);
            std::optional<std::string> inner = group();
            if (!inner)
                return std::nullopt;
            if (isImaginaryUnit)
                return operandPiece("\\mathrm{i}");
            if (token.isSqr)
                return operandPiece("\\sqrt{" + *inner + "}");
            return operandPiece(token.latex + "(" + *inner + ")");
        }
        default:
            return std::nullopt;
        }
    }

    const std::vector<Token>& m_tokens;
    std::size_t m_next = 0;
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// "12) " in front of a line: the number with its bracket, and the rest.
std::size_t lineNumberLength(std::string_view line)
{
    const std::size_t digits = digitsFrom(line, 0);
    if (digits == 0 || digits + 1 >= line.size() || line[digits] != ')' || line[digits + 1] != ' ')
        return 0;
    return digits + 2;
}

bool isSeparatorLine(std::string_view line)
{
    return line.size() >= 3 && line.find_first_not_of('-') == std::string_view::npos;
}

std::string rowOf(std::string_view line, const LatexStyle& style)
{
    std::string_view body = line;
    std::string_view reason;
    if (const std::size_t marker = line.find(kReasonMarker); marker != std::string_view::npos) {
        body = line.substr(0, marker);
        reason = trimmed(line.substr(marker + kReasonMarker.size()));
    }
    body = trimmed(body);

    std::string first;
    if (const std::size_t number = lineNumberLength(body); number > 0) {
        first = "\\text{" + std::string(body.substr(0, number - 1)) + "}";
        body.remove_prefix(number);
    }
    const std::string_view equivalent = trimmed(style.equivalent);
    if (!equivalent.empty() && body.starts_with(equivalent)) {
        if (!first.empty())
            first += "\\quad ";
        first += equivalent == "<=>" ? std::string("\\iff") : "\\text{" + latexText(equivalent) + "}";
        body = trimmed(body.substr(equivalent.size()));
    }

    std::string_view separator = style.decimalSeparator;
    if (separator.empty())
        separator = ".";
    std::string row = first + " & ";
    if (std::optional<std::string> maths = latexMath(body, separator))
        row += *maths;
    else
        row += "\\text{" + latexText(body) + "}";
    if (!reason.empty())
        row += " && \\text{" + latexText(reason) + "}";
    return row;
}

std::string environmentOf(const std::vector<std::string>& rows)
{
    std::string latex = "\\begin{align*}\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        latex += rows[i] + (i + 1 < rows.size() ? " \\\\\n" : "\n");
    return latex + "\\end{align*}\n";
}

} // namespace

LatexStyle latexStyle(const SolveOptions& options)
{
    return {options.equivalent, options.decimalSeparator};
}

LatexStyle latexStyle(const Settings& settings)
{
    return {settings.equivalent, settings.decimalSeparator};
}

std::string latexText(std::string_view text)
{
    std::string latex;
    for (std::size_t i = 0; i < text.size();) {
        bool isSymbol = false;
        for (const TextSymbol& symbol : kTextSymbols) {
            if (text.substr(i).starts_with(symbol.utf8)) {
                latex += symbol.latex;
                i += symbol.utf8.size();
                isSymbol = true;
                break;
            }
        }
        if (isSymbol)
            continue;
        const char c = text[i++];
        switch (c) {
        case '#':
        case '$':
        case '%':
        case '&':
        case '_':
        case '{':
        case '}':
            latex += '\\';
            latex += c;
            break;
        case '^':
            latex += "\\textasciicircum{}";
            break;
        case '~':
            latex += "\\textasciitilde{}";
            break;
        case '\\':
            latex += "\\textbackslash{}";
            break;
        // Without T1 fonts these would print as other characters.
        case '<':
            latex += "\\textless{}";
            break;
        case '>':
            latex += "\\textgreater{}";
            break;
        case '|':
            latex += "\\textbar{}";
            break;
        default:
            latex += static_cast<unsigned char>(c) < 32 || c == 127 ? ' ' : c;
        }
    }
    return latex;
}

std::optional<std::string> latexMath(std::string_view line, std::string_view decimalSeparator)
{
    const std::optional<std::vector<Token>> tokens =
        tokensOf(line, decimalSeparator.empty() ? std::string_view(".") : decimalSeparator);
    if (!tokens)
        return std::nullopt;
    return MathWriter(*tokens).write();
}

std::string latexOfText(std::string_view text, const LatexStyle& style)
{
    std::string latex;
    std::vector<std::string> rows;
    const auto endBlock = [&] {
        if (!rows.empty()) {
            latex += (latex.empty() ? "" : "\n") + environmentOf(rows);
            rows.clear();
        }
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (isSeparatorLine(line))
            endBlock();
        else if (!line.empty())
            rows.push_back(rowOf(line, style));
    }
    endBlock();
    return latex;
}

std::string latexDocument(std::string_view body)
{
    return "\\documentclass{article}\n"
           "\\usepackage[utf8]{inputenc}\n"
           "\\usepackage[T1]{fontenc}\n"
           "\\usepackage{amsmath}\n"
           "\\allowdisplaybreaks\n"
           "\\begin{document}\n" +
           std::string(body) + "\\end{document}\n";
}

} // namespace config
