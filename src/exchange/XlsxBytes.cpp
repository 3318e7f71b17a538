#include "exchange/XlsxBytes.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits from position i on; their number.
size_t digitsAt(std::string_view text, size_t i)
{
    size_t n = 0;
    while (i + n < text.size() && isDigit(text[i + n]))
        ++n;
    return n;
}

// "-12.5E-3": an optional minus, digits, optionally a point with digits and an exponent with
// digits, in at most 32 characters.
bool isPlainDecimal(std::string_view text)
{
    if (text.empty() || text.size() > 32)
        return false;
    size_t i = text[0] == '-' ? 1 : 0;
    size_t n = digitsAt(text, i);
    if (n == 0)
        return false;
    i += n;
    if (i < text.size() && text[i] == '.') {
        n = digitsAt(text, i + 1);
        if (n == 0)
            return false;
        i += 1 + n;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        n = digitsAt(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return i == text.size();
}

}  // namespace

QString xlsxText(std::string_view text)
{
    // An element without text gives a null string, as the text of no node does.
    if (text.empty())
        return QString();
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

int xlsxInteger(std::string_view text, bool& ok)
{
    // Nine digits cannot overflow an int.
    if (!text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), isDigit)) {
        int value = 0;
        for (const char c : text)
            value = value * 10 + (c - '0');
        ok = true;
        return value;
    }
    return xlsxText(text).toInt(&ok);
}

double xlsxNumber(std::string_view text, bool& ok)
{
    // Both conversions round correctly; zero, subnormal and out-of-range results are left to
    // QString, whose handling of them callers may rely on.
    if (isPlainDecimal(text)) {
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && std::isnormal(value)) {
            ok = true;
            return value;
        }
    }
    return xlsxText(text).trimmed().toDouble(&ok);
}
