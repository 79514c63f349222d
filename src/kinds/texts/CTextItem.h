#pragma once

#include "core/CResourceItem.h"

#include <cstdint>
#include <string>

class CResourceGroup;
class CResourceHolder;

// A named string of the Texts and Parameters group: a text a game shows, or a
// parameter value the editor and the game read by ID. Its text may refer to
// other texts of the group by writing their ID in square brackets.
class CTextItem : public CResourceItem {
public:
    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    const std::string* parameterText() const override { return &m_text; }

    const std::string& text() const { return m_text; }
    void setText(const std::string& text) { m_text = text; }

    // Stored and written back, never shown; 0 in new records.
    std::int32_t reserved() const { return m_reserved; }

    // The text with its bracketed references replaced by the texts of the
    // group (see CTextReferenceExpander for the rule).
    std::string expandReferences(const CResourceGroup& texts) const;

    // Look-ups by other kinds and panels: index of the text with that ID in
    // the holder's Texts and Parameters group, or -1; the text at an index,
    // or nullptr when there is no such record.
    static int findText(const CResourceHolder& holder, const std::string& id);
    static const std::string* textAt(const CResourceHolder& holder, int index);

private:
    std::int32_t m_reserved = 0;
    std::string m_text;
};
