#pragma once

#include <string>
#include <string_view>
#include <vector>

// The items a picker lists for what the user typed so far. Each item is its
// index and ID; a query is words separated by blanks, and an item matches
// when every word is found in its ID (letters in either case) or, for a
// word of digits, when its index starts with them. An empty query lists
// every item. Nothing here draws: the picker window only shows the answer,
// so the rule is tested and timed without a display.
class CItemFilter {
public:
    // Item i has ID ids[i].
    void setIds(std::vector<std::string> ids);
    int size() const { return static_cast<int>(m_ids.size()); }
    const std::string& id(int index) const { return m_ids[static_cast<std::size_t>(index)]; }

    // The matching indices, ascending.
    std::vector<int> filter(std::string_view query) const;
    bool matches(int index, std::string_view query) const;

    // How a picker and a reference cell name an item: "3 - walk_02".
    static std::string label(int index, std::string_view id);

private:
    struct Word {
        std::string folded;
        bool digits = false;
    };
    static std::vector<Word> words(std::string_view query);
    bool matchesWords(int index, const std::vector<Word>& words) const;

    std::vector<std::string> m_ids;
    // The IDs in lower case, made once so that each key typed only searches.
    std::vector<std::string> m_folded;
};
