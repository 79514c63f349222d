#include "quillop/runtime/CTextReferenceExpander.h"

namespace quillop {

namespace {
// Every occurrence of pattern in text replaced by value, or false (text
// unchanged) when the result would pass the length limit.
bool replaceAll(std::string& text, const std::string& pattern, const std::string& value, std::size_t limit)
{
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, from)) {
        out.append(text, from, at - from);
        out.append(value);
        from = at + pattern.size();
        if (out.size() > limit)
            return false;
    }
    out.append(text, from, std::string::npos);
    if (out.size() > limit)
        return false;
    text.swap(out);
    return true;
}
} // namespace

std::string CTextReferenceExpander::lookUp(const std::string& id) const
{
    const std::string* text = m_texts.textOf(id);
    return text ? *text : std::string();
}

std::string CTextReferenceExpander::expand(const std::string& text) const
{
    std::string r = text;
    const std::size_t limit = text.size() + kMaxLength;
    for (int round = 0; round < kMaxRounds; ++round) {
        const auto reference = nextReference(r, 0);
        if (!reference)
            break;
        const std::string id = r.substr(reference->open + 1, reference->close - reference->open - 1);
        if (!replaceAll(r, "[" + id + "]", lookUp(id), limit))
            break;
    }
    return r;
}

std::optional<CTextReferenceExpander::Reference> CTextReferenceExpander::nextReference(const std::string& text,
                                                                                     std::size_t from)
{
    const std::size_t open = text.find('[', from);
    if (open == std::string::npos)
        return std::nullopt;
    const std::size_t close = text.find(']', open + 1);
    if (close == std::string::npos)
        return std::nullopt;
    return Reference{open, close};
}

std::optional<std::string> CTextReferenceExpander::missingReference(const std::string& text) const
{
    for (auto reference = nextReference(text, 0); reference; reference = nextReference(text, reference->close + 1)) {
        const std::string id = text.substr(reference->open + 1, reference->close - reference->open - 1);
        if (!m_texts.textOf(id))
            return id;
    }
    return std::nullopt;
}

} // namespace quillop
