#include "kinds/userinterfaces/CColorText.h"

#include <algorithm>
#include <cctype>

namespace {
// The value of the leading hexadecimal digits, at most the given maximum.
int hexValue(const std::string& digits, int maximum)
{
    long value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            break;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        value = std::min<long>(value * 16 + digit, maximum);
    }
    return static_cast<int>(value);
}
} // namespace

QColor CColorText::parse(const std::string& text)
{
    std::string t;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '(' && c != '#')
            t += c;
    int alpha = 255;
    const std::size_t close = t.find(')');
    if (close != std::string::npos) {
        alpha = hexValue(t.substr(0, close), 255);
        t.erase(0, close + 1);
    }
    t = (t + "000000").substr(0, 6);
    return QColor(hexValue(t.substr(0, 2), 255), hexValue(t.substr(2, 2), 255), hexValue(t.substr(4, 2), 255), alpha);
}
