#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A JSON value and its indented text, laid out exactly as the editor's
// command line prints its dumps (keys sorted, four spaces a level, reals in
// their shortest form), so that the two can be compared byte for byte.
class CJson {
public:
    enum class Kind { Null, Bool, Integer, Real, String, Array, Object };

    CJson() = default;
    CJson(bool value) : m_kind(Kind::Bool), m_integer(value) {}
    CJson(int value) : m_kind(Kind::Integer), m_integer(value) {}
    CJson(std::int64_t value) : m_kind(Kind::Integer), m_integer(value) {}
    CJson(double value) : m_kind(Kind::Real), m_real(value) {}
    // Bytes; whatever is not UTF-8 shows as replacement characters.
    CJson(std::string text) : m_kind(Kind::String), m_text(std::move(text)) {}
    CJson(const char* text) : CJson(std::string(text)) {}

    static CJson array() { return CJson(Kind::Array); }
    static CJson object() { return CJson(Kind::Object); }

    CJson& operator[](const std::string& key) { return m_object[key]; }
    void append(CJson value) { m_array.push_back(std::move(value)); }

    std::string text() const;

private:
    explicit CJson(Kind kind) : m_kind(kind) {}
    void write(std::string& out, int depth) const;

    Kind m_kind = Kind::Null;
    std::int64_t m_integer = 0;
    double m_real = 0.0;
    std::string m_text;
    std::vector<CJson> m_array;
    std::map<std::string, CJson> m_object;
};
