#include "CJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t sequenceLength(const std::string& s, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t n = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + n > s.size())
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool overlong = (n == 3 && code < 0x800) || (n == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : n;
}

void writeString(std::string& out, const std::string& s)
{
    out += '"';
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = sequenceLength(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";  // each byte that starts no character stands for one
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s, i, n);
            i += n;
            continue;
        }
        const char c = s[i++];
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// Whole values up to 2^53 print as integers; other reals in the shorter of
// their decimal and exponent forms, with the fewest digits that read back
// the same (the decimal form on a tie).
void writeReal(std::string& out, double d)
{
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    if (d == std::trunc(d) && std::fabs(d) <= 9007199254740992.0) {
        out += std::to_string(static_cast<long long>(d));
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific);
    const std::string scientific(buffer, result.ptr);
    const std::size_t e = scientific.find('e');
    const bool negative = scientific[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (scientific[i] != '.')
            digits += scientific[i];
    const int exponent = std::stoi(scientific.substr(e + 1));
    const int point = exponent + 1;  // digits before the decimal point
    std::string decimal = negative ? "-" : "";
    if (point <= 0) {
        decimal += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= static_cast<int>(digits.size())) {
        decimal += digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
        decimal += digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
    }
    std::string exponential = negative ? "-" : "";
    exponential += digits.substr(0, 1);
    if (digits.size() > 1)
        exponential += "." + digits.substr(1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    exponential += tail;
    out += decimal.size() <= exponential.size() ? decimal : exponential;
}

void indent(std::string& out, int depth) { out.append(static_cast<std::size_t>(depth) * 4, ' '); }
} // namespace

void CJson::write(std::string& out, int depth) const
{
    switch (m_kind) {
    case Kind::Null: out += "null"; return;
    case Kind::Bool: out += m_integer ? "true" : "false"; return;
    case Kind::Integer: out += std::to_string(m_integer); return;
    case Kind::Real: writeReal(out, m_real); return;
    case Kind::String: writeString(out, m_text); return;
    case Kind::Array:
        out += "[\n";
        for (std::size_t i = 0; i < m_array.size(); ++i) {
            indent(out, depth + 1);
            m_array[i].write(out, depth + 1);
            out += i + 1 < m_array.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += "]";
        return;
    case Kind::Object: {
        out += "{\n";
        std::size_t i = 0;
        for (const auto& [key, value] : m_object) {
            indent(out, depth + 1);
            writeString(out, key);
            out += ": ";
            value.write(out, depth + 1);
            out += ++i < m_object.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += "}";
        return;
    }
    }
}

std::string CJson::text() const
{
    std::string out;
    write(out, 0);
    out += "\n";
    return out;
}
