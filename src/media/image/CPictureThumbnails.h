#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

class CDisplayBuffer;

// Small copies of pictures for the grids, kept within a budget of bytes.
// A picture still waiting for its decode is decoded for its thumbnail alone:
// the buffer stays undecoded and holds only its bytes, so scrolling through
// thousands of stored pictures costs their bytes plus this budget. A decoded
// picture may be edited at any time, so its thumbnail is made afresh.
// For the interface thread.
class CPictureThumbnails {
public:
    struct Request {
        const CDisplayBuffer* picture;
        QSize size;
    };
    static constexpr std::size_t kDefaultBudget = std::size_t(16) << 20;

    explicit CPictureThumbnails(std::size_t budgetBytes = kDefaultBudget);
    // The one the grids share.
    static CPictureThumbnails& shared();

    // The picture scaled smoothly to `size`, its proportions kept; null when
    // it has no pixels. A stored picture found broken here is decoded for
    // real, so that it turns empty and says why, as on any other first use.
    QImage thumbnail(const CDisplayBuffer& picture, QSize size);
    // Makes the thumbnails of the requests that are not kept yet, decoding
    // them together over the cores.
    void prepare(const std::vector<Request>& requests);

    bool holds(const CDisplayBuffer& picture, QSize size) const;
    std::size_t heldBytes() const { return m_heldBytes; }
    // How many thumbnails of stored pictures have been decoded so far.
    std::size_t decodedCount() const { return m_decoded; }

private:
    struct Key {
        std::uint64_t bytesId;
        int width;
        int height;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    using Kept = std::list<std::pair<Key, QImage>>;

    static std::optional<Key> keyOf(const CDisplayBuffer& picture, QSize size);
    const QImage* find(const Key& key);
    void keep(const Key& key, const QImage& thumbnail);
    void forget(Kept::iterator entry);

    std::size_t m_budget;
    std::size_t m_heldBytes = 0;
    std::size_t m_decoded = 0;
    Kept m_kept;  // the most recently used first
    std::unordered_map<Key, Kept::iterator, KeyHash> m_index;
};
