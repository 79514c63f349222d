#include "grid/CItemFilter.h"

#include <charconv>

namespace {
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = fold(c);
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

void CItemFilter::setIds(std::vector<std::string> ids)
{
    m_ids = std::move(ids);
    m_folded.clear();
    m_folded.reserve(m_ids.size());
    for (const std::string& id : m_ids)
        m_folded.push_back(folded(id));
}

std::vector<CItemFilter::Word> CItemFilter::words(std::string_view query)
{
    std::vector<Word> out;
    std::size_t at = 0;
    while (at < query.size()) {
        while (at < query.size() && isBlank(query[at]))
            ++at;
        std::size_t end = at;
        while (end < query.size() && !isBlank(query[end]))
            ++end;
        if (end > at) {
            Word w{folded(query.substr(at, end - at)), true};
            for (char c : w.folded)
                w.digits = w.digits && c >= '0' && c <= '9';
            out.push_back(std::move(w));
        }
        at = end;
    }
    return out;
}

bool CItemFilter::matchesWords(int index, const std::vector<Word>& words) const
{
    const std::string& id = m_folded[static_cast<std::size_t>(index)];
    for (const Word& w : words) {
        if (id.find(w.folded) != std::string::npos)
            continue;
        if (!w.digits)
            return false;
        char digits[16];
        const auto written = std::to_chars(digits, digits + sizeof digits, index);
        const std::string_view number(digits, static_cast<std::size_t>(written.ptr - digits));
        if (number.substr(0, w.folded.size()) != w.folded)
            return false;
    }
    return true;
}

bool CItemFilter::matches(int index, std::string_view query) const
{
    return index >= 0 && index < size() && matchesWords(index, words(query));
}

std::vector<int> CItemFilter::filter(std::string_view query) const
{
    const std::vector<Word> w = words(query);
    std::vector<int> out;
    if (w.empty())
        out.reserve(m_ids.size());
    for (int i = 0; i < size(); ++i)
        if (w.empty() || matchesWords(i, w))
            out.push_back(i);
    return out;
}

std::string CItemFilter::label(int index, std::string_view id)
{
    std::string out = std::to_string(index);
    out += " - ";
    out += id;
    return out;
}
