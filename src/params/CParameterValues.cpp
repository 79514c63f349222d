#include "params/CParameterValues.h"

#include <QFile>
#include <QSaveFile>

void CParameterValues::set(const std::string& name, const std::string& value)
{
    for (Entry& e : m_entries)
        if (e.first == name) {
            e.second = value;
            return;
        }
    m_entries.emplace_back(name, value);
}

const std::string* CParameterValues::find(const std::string& name) const
{
    for (const Entry& e : m_entries)
        if (e.first == name)
            return &e.second;
    return nullptr;
}

std::string CParameterValues::escape(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string CParameterValues::unescape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::string CParameterValues::toText(const std::string& tool) const
{
    std::string text = "[" + tool + "]\n";
    for (const Entry& e : m_entries)
        text += e.first + "=" + escape(e.second) + "\n";
    return text;
}

bool CParameterValues::fromText(const std::string& text, std::string& tool)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.empty() || lines[0].size() < 2 || lines[0].front() != '[' || lines[0].back() != ']')
        return false;
    tool = lines[0].substr(1, lines[0].size() - 2);
    m_entries.clear();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t eq = lines[i].find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        set(lines[i].substr(0, eq), unescape(lines[i].substr(eq + 1)));
    }
    return true;
}

int CParameterValues::save(const std::string& path, const std::string& tool) const
{
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    const std::string text = toText(tool);
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        return 0;
    return file.commit() ? 1 : 0;
}

int CParameterValues::load(const std::string& path, std::string& tool)
{
    QFile file(QString::fromLocal8Bit(path.c_str()));
    // Parameter files are a few lines; anything far larger is not one.
    constexpr qint64 kLargest = 1 << 20;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargest)
        return 0;
    const QByteArray bytes = file.readAll();
    return fromText(bytes.toStdString(), tool) ? 1 : 0;
}
