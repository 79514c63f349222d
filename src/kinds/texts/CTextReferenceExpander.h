#pragma once

#include "quillop/runtime/CTextReferenceExpander.h"

class CResourceGroup;

// A document's group of texts, by ID, as the expansion looks them up.
class CGroupTexts : public quillop::ITextLookup {
public:
    explicit CGroupTexts(const CResourceGroup& texts) : m_texts(texts) {}
    const std::string* textOf(const std::string& id) const override;

private:
    const CResourceGroup& m_texts;
};

// The runtime's "[ID]" expansion over a group of the document. The lookup
// is a member built before the expansion that keeps it: nothing of this
// object is used before it exists.
class CTextReferenceExpander {
public:
    static constexpr int kMaxRounds = quillop::CTextReferenceExpander::kMaxRounds;
    static constexpr std::size_t kMaxLength = quillop::CTextReferenceExpander::kMaxLength;

    explicit CTextReferenceExpander(const CResourceGroup& texts) : m_texts(texts), m_expander(m_texts) {}

    std::string expand(const std::string& text) const { return m_expander.expand(text); }
    std::optional<std::string> missingReference(const std::string& text) const
    {
        return m_expander.missingReference(text);
    }

private:
    CGroupTexts m_texts;
    quillop::CTextReferenceExpander m_expander;
};
