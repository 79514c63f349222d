#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quillop {

// The texts references are looked up in, by ID.
class ITextLookup {
public:
    virtual ~ITextLookup() = default;
    // The text of `id`, or nullptr when no text has that ID.
    virtual const std::string* textOf(const std::string& id) const = 0;
};

// Replaces the "[ID]" references of a text by the texts of those IDs, over
// and over, so that expanded texts may hold further references. A reference
// to an ID the texts do not hold is removed.
//
// Each round takes the first "[" and the first "]" after it; everything
// between is the ID, and every occurrence of "[ID]" is replaced at once.
// Expansion stops when no such pair is left. Because texts can refer to
// themselves or to each other, and a few texts referring twice to each other
// grow exponentially, it also stops after kMaxRounds rounds or as soon as the
// result would grow by more than kMaxLength bytes; whatever is left unexpanded then
// stays in the text as written. A "]" standing before the first "[" is plain
// text and never pairs with it.
class CTextReferenceExpander {
public:
    static constexpr int kMaxRounds = 4096;
    static constexpr std::size_t kMaxLength = std::size_t(4) << 20;

    explicit CTextReferenceExpander(const ITextLookup& texts) : m_texts(texts) {}

    std::string expand(const std::string& text) const;
    // The first ID that `text` refers to and no text has; empty
    // when every reference names a text. References pair brackets as the
    // expansion does; an expanded text is checked where it is written.
    std::optional<std::string> missingReference(const std::string& text) const;

private:
    struct Reference {
        std::size_t open;
        std::size_t close;
    };
    // The first "[" from `from` on and the first "]" after it.
    static std::optional<Reference> nextReference(const std::string& text, std::size_t from);
    std::string lookUp(const std::string& id) const;

    const ITextLookup& m_texts;
};

} // namespace quillop
