// A document walked item by item from its file gives, for every item of
// every kind, the group, row, ID and record digest the loaded document has,
// and loads any single item as the whole load does.
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/CWalkedDocument.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CItemKinds.h"

#include <gtest/gtest.h>

TEST(DocumentWalk, EveryItemOfTheDemoWalksToItsLoadedIdAndDigest)
{
    auto loaded = createDocumentHolder();
    ASSERT_TRUE(loaded->load(QUILLOP_DEMO));
    CWalkedDocument walked;
    ASSERT_TRUE(walked.open(QUILLOP_DEMO));
    EXPECT_EQ(walked.id(), loaded->id());
    EXPECT_EQ(walked.comments(), loaded->comments());
    int kinds = 0;
    for (int g = 0; g < kGroupCount; ++g) {
        SCOPED_TRACE(kGroupKeys[std::size_t(g)]);
        ASSERT_EQ(walked.count(g), loaded->count(g));
        kinds += loaded->count(g) > 0;
        for (int row = 0; row < loaded->count(g); ++row) {
            CResourceItem& item = *loaded->get(g, row);
            EXPECT_EQ(walked.row(g, row).id, item.id()) << row;
            EXPECT_EQ(walked.row(g, row).digest, recordDigest(item)) << row;
            const auto single = walked.load(g, row, loaded->prototype(g));
            ASSERT_TRUE(single) << row;
            EXPECT_EQ(storeRecord(*single), storeRecord(item)) << row;
        }
    }
    // The demo holds pictures, sounds, animations, maps, worlds …: a walk
    // that skipped a kind would not pass unnoticed.
    EXPECT_GE(kinds, 6);
}
