// SPDX-License-Identifier: MIT
// Checks every conversion of a message text before it is used, then formats one conversion at a time.
#include "message_format.h"

#include "c_locale.h"

#include <cctype>

namespace engine {
namespace {

constexpr std::size_t kMaxDigits = 3;

bool takeDigits(std::string_view format, std::size_t& i, std::string& conversionText)
{
    std::size_t digits = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) {
        conversionText += format[i++];
        if (++digits > kMaxDigits)
            return false;
    }
    return true;
}

} // namespace

bool formatMessage(std::string_view format, std::span<const FormatArg> args, std::string& out,
                   ArgumentUse use)
{
    std::string result;
    std::size_t used = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\0')
            return false;
        if (c != '%') {
            result += c;
            continue;
        }
        if (++i >= format.size())
            return false;
        if (format[i] == '%') {
            result += '%';
            continue;
        }
        std::string conversionText = "%";
        while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            conversionText += format[i++];
        if (!takeDigits(format, i, conversionText))
            return false;
        if (i < format.size() && format[i] == '.') {
            conversionText += format[i++];
            if (!takeDigits(format, i, conversionText))
                return false;
        }
        if (i >= format.size() || used >= args.size())
            return false;
        const FormatArg& arg = args[used++];
        const char conversion = format[i];
        conversionText += conversion;
        if ((conversion == 'd' || conversion == 'i') && arg.kind == FormatArgKind::Int)
            result += formatCLocale(conversionText.c_str(), arg.number);
        else if (conversion == 'c' && arg.kind == FormatArgKind::Char)
            result += formatCLocale(conversionText.c_str(), arg.number);
        else if (conversion == 's' && arg.kind == FormatArgKind::String)
            result += formatCLocale(conversionText.c_str(), arg.text);
        else
            return false;
    }
    if (use == ArgumentUse::AllArgumentsRequired && used != args.size())
        return false;
    out = std::move(result);
    return true;
}

} // namespace engine
