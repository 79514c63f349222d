#pragma once

#include <memory>
#include <string>

#include "core/CodingNames.h"
class CIndexChange;
class CResourceGroup;

// The record every item kind starts with: an ID (the item's name and look-up
// key, not necessarily unique) and free Comments. A kind overrides
// createDefault() and serialize(), calling the base serialize first.
class CResourceItem {
public:
    CResourceItem() = default;
    virtual ~CResourceItem() = default;

    CResourceItem(const CResourceItem&) = delete;
    CResourceItem& operator=(const CResourceItem&) = delete;

    // A new default item of the receiver's kind; the receiver is unchanged.
    virtual std::unique_ptr<CResourceItem> createDefault() const;

    // Appends a new default item of this kind to the group: its index, or -1.
    int createInGroup(CResourceGroup& group) const;

    // Writes or reads the item through the section's coder.
    virtual int serialize(CArchive& ar, CSectionCoder& coder);

    void setComments(const std::string& text) { m_comments = text; }
    void setId(const std::string& text) { m_id = text; }
    const std::string& id() const { return m_id; }
    const std::string& comments() const { return m_comments; }

    // Text of a Texts and Parameters item, read by the holder's parameter
    // look-ups; other kinds have none.
    virtual const std::string* parameterText() const { return nullptr; }

    // Bitmaps keep their source file name and bytes until told to drop them.
    virtual void dropSource() {}

    // The rows of `group` changed: rewrite every reference this item keeps to
    // that group. Kinds that refer to other items override it.
    virtual void renumberReferences(int group, const CIndexChange& change);
    // Whether renumberReferences can change this item: the edit history
    // keeps the record of such items before references are rewritten.
    virtual bool refersToItems() const { return false; }

private:
    std::string m_id;
    std::string m_comments;
};
