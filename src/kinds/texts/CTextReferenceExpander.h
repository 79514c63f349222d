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
// is a base so that it exists before the expansion that keeps it.
class CTextReferenceExpander : private CGroupTexts, public quillop::CTextReferenceExpander {
public:
    explicit CTextReferenceExpander(const CResourceGroup& texts)
        : CGroupTexts(texts), quillop::CTextReferenceExpander(lookup()) {}

private:
    const quillop::ITextLookup& lookup() const { return *this; }
};
