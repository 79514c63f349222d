// Merges of generated documents: a side merged with an unchanged one comes
// back as it is, rows in its order, and two sides that edit different things (one the rows of
// bitmaps and the frames' pictures and delays, the other texts and the
// frames' offsets) merge into a document holding both, every frame still
// showing the bitmap it showed.
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CDocumentMerge.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/texts/CTextItem.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

#include <random>

namespace {
constexpr int kBitmaps = 8;
constexpr int kAnimations = 4;
constexpr int kFrames = 3;

CAnimationItem& animation(const CResourceHolder& h, int i) { return dynamic_cast<CAnimationItem&>(*h.get(GroupAnimations, i)); }

std::unique_ptr<CResourceHolder> generated(std::mt19937& rng)
{
    auto h = createDocumentHolder();
    for (int i = 0; i < 6; ++i)
        dynamic_cast<CTextItem&>(*h->get(GroupTexts, h->newItem(GroupTexts, "t" + std::to_string(i)))).setText("text");
    for (int i = 0; i < kBitmaps; ++i)
        h->newItem(GroupBitmaps, "b" + std::to_string(i % 6));  // some IDs twice
    for (int i = 0; i < kAnimations; ++i) {
        h->newItem(GroupAnimations, "a" + std::to_string(i));
        for (int f = 0; f < kFrames; ++f)
            animation(*h, i).addFrame(int(rng() % kBitmaps), 4);
    }
    return h;
}

std::unique_ptr<CResourceHolder> copyOf(const CResourceHolder& h)
{
    auto copy = createDocumentHolder();
    for (int g = 0; g < kGroupCount; ++g)
        for (int i = 0; i < h.count(g); ++i)
            EXPECT_TRUE(loadRecord(*copy->get(g, copy->newItem(g, "")), storeRecord(*h.get(g, i))));
    return copy;
}

// Adds, removes and moves bitmaps (references following), and changes the
// frames' pictures and delays.
void editStructure(CResourceHolder& h, std::mt19937& rng)
{
    for (int step = 0; step < 4; ++step) {
        const int rows = h.count(GroupBitmaps);
        switch (rng() % 4) {
        case 0: {
            const int row = int(rng() % unsigned(rows + 1));
            h.newItem(GroupBitmaps, "new" + std::to_string(rng() % 1000));
            if (h.move(GroupBitmaps, rows, row))
                h.renumberReferences(GroupBitmaps, CIndexChange::moved(rows, row));
            break;
        }
        case 1: {
            const int row = int(rng() % unsigned(rows));
            if (h.remove(GroupBitmaps, row))
                h.renumberReferences(GroupBitmaps, CIndexChange::removed(row, h.count(GroupBitmaps)));
            break;
        }
        case 2: {
            const int from = int(rng() % unsigned(rows)), to = int(rng() % unsigned(rows));
            if (h.move(GroupBitmaps, from, to))
                h.renumberReferences(GroupBitmaps, CIndexChange::moved(from, to));
            break;
        }
        default: {
            CAnimationItem& a = animation(h, int(rng() % kAnimations));
            const int f = int(rng() % kFrames);
            CAnimationFrame frame = *a.frame(f);
            frame.bitmap = int(rng() % unsigned(rows));
            frame.delay = 1 + int(rng() % 9);
            a.setFrame(f, frame);
        }
        }
    }
}

void editTextsAndOffsets(CResourceHolder& h, std::mt19937& rng)
{
    for (int step = 0; step < 4; ++step) {
        if (rng() % 2) {
            dynamic_cast<CTextItem&>(*h.get(GroupTexts, int(rng() % 6))).setText("edited " + std::to_string(rng() % 100));
        } else {
            CAnimationItem& a = animation(h, int(rng() % kAnimations));
            const int f = int(rng() % kFrames);
            CAnimationFrame frame = *a.frame(f);
            frame.offsetX = int(rng() % 50);
            a.setFrame(f, frame);
        }
    }
}

std::string differences(const CResourceHolder& a, const CResourceHolder& b)
{
    return CDocumentDiff::describe(CDocumentDiff::compare(a, b))
        .join('\n')
        .toStdString();
}

std::unique_ptr<CResourceHolder> mergedOf(const CResourceHolder& base, const CResourceHolder& ours,
                                          const CResourceHolder& theirs)
{
    CDocumentMerge::Result result = CDocumentMerge::merge(base, ours, theirs);
    EXPECT_TRUE(result.merged) << result.conflicts.join('\n').toStdString();
    return std::move(result.merged);
}
} // namespace

TEST(DocumentMerge, GeneratedDocumentsMergeAsTheirSidesEditedThem)
{
    for (unsigned seed = 0; seed < 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto base = generated(rng);
        const auto structure = copyOf(*base);
        editStructure(*structure, rng);
        const auto texts = copyOf(*base);
        editTextsAndOffsets(*texts, rng);

        for (const CResourceHolder* side : {structure.get(), texts.get()}) {
            for (const auto& merged : {mergedOf(*base, *side, *base), mergedOf(*base, *base, *side),
                                       mergedOf(*base, *side, *side)})
                if (merged) {
                    EXPECT_EQ(differences(*side, *merged), "");
                }
        }

        // Both at once, either way round: the structure side's bitmaps and
        // frames, with the other side's texts and offsets.
        auto expected = copyOf(*structure);
        for (int i = 0; i < 6; ++i)
            dynamic_cast<CTextItem&>(*expected->get(GroupTexts, i))
                .setText(dynamic_cast<CTextItem&>(*texts->get(GroupTexts, i)).text());
        for (int i = 0; i < kAnimations; ++i)
            for (int f = 0; f < kFrames; ++f) {
                CAnimationFrame frame = *animation(*expected, i).frame(f);
                frame.offsetX = animation(*texts, i).frame(f)->offsetX;
                animation(*expected, i).setFrame(f, frame);
            }
        for (const auto& merged : {mergedOf(*base, *structure, *texts), mergedOf(*base, *texts, *structure)})
            if (merged) {
                EXPECT_EQ(differences(*expected, *merged), "");
            }
    }
}
