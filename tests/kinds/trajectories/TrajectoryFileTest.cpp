#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/trajectories/Trajectory.h"
#include "support/TestSupport.h"

#include "support/ItemBytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// Little-endian bytes written by hand, independent of the coder.
struct Bytes {
    QByteArray data;
    Bytes& i32(std::int32_t v)
    {
        for (int k = 0; k < 4; ++k)
            data.append(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF));
        return *this;
    }
    Bytes& f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int k = 0; k < 8; ++k)
            data.append(static_cast<char>((bits >> (8 * k)) & 0xFF));
        return *this;
    }
    Bytes& u8(std::uint8_t v)
    {
        data.append(static_cast<char>(v));
        return *this;
    }
    Bytes& str(const std::string& s)
    {
        i32(static_cast<std::int32_t>(s.size()));
        data.append(s.data(), static_cast<qsizetype>(s.size()));
        return *this;
    }
};



void fillSample(Trajectory& t)
{
    t.setId("Orbit");
    t.setComments("around");
    t.SetType(TrajectoryCollisionTest);
    t.SetPlayMode(5);
    t.SetOffsetX(3);
    t.SetOffsetY(-4);
    t.SetPlaySpeed(1.5);
    t.AddPoint(1, 2);
    t.AddPoint(-3.25, 4);
    t.SetClosedShape(true);
    t.SetCenterOfMass(0.5, -2);
}

QByteArray sampleRecord()
{
    Bytes b;
    b.i32(0).i32(1).i32(0).str("Orbit").str("around");
    b.i32(0).i32(2).i32(2).i32(5).i32(3).i32(-4).f64(1.5).u8(1).f64(0.5).f64(-2).i32(3);
    b.f64(1).f64(2).f64(-3.25).f64(4).f64(1).f64(2);
    return b.data;
}
} // namespace

TEST(TrajectoryFile, SectionRecordBytes)
{
    Trajectory t;
    fillSample(t);
    EXPECT_EQ(storeItem(t).toHex(), sampleRecord().toHex());
}

TEST(TrajectoryFile, LoadingReplacesPointsTakesTheStoredCentreAndRecomputesBounds)
{
    Trajectory t;
    t.AddPoint(100, 100);
    t.AddPoint(200, 200);
    t.AddPoint(300, 300);
    EXPECT_EQ(loadItem(t, sampleRecord()), 0);
    EXPECT_EQ(t.id(), "Orbit");
    EXPECT_EQ(t.comments(), "around");
    EXPECT_EQ(t.GetType(), 2);
    EXPECT_EQ(t.GetPlayMode(), 5);
    EXPECT_EQ(t.GetOffsetX(), 3);
    EXPECT_EQ(t.GetOffsetY(), -4);
    EXPECT_EQ(t.GetPlaySpeed(), 1.5);
    EXPECT_TRUE(t.IsClosedShape());
    EXPECT_EQ(t.GetCenterOfMass(), (TrajectoryPoint{0.5, -2}));
    ASSERT_EQ(t.GetPointCount(), 3);
    EXPECT_EQ(t.GetPoint(1), (TrajectoryPoint{-3.25, 4}));
    EXPECT_EQ(t.GetPoint(2), (TrajectoryPoint{1, 2}));
    EXPECT_EQ(t.GetMinX(), -3.25);
    EXPECT_EQ(t.GetMaxX(), 1.0);
    EXPECT_EQ(t.GetMinY(), 2.0);
    EXPECT_EQ(t.GetMaxY(), 4.0);

    // Points come in as stored, even a closed shape whose last point is not
    // its first; the version words are not checked; any non-zero byte closes.
    Bytes odd;
    odd.i32(0).i32(1).i32(0).str("").str("");
    odd.i32(7).i32(9).i32(0).i32(1).i32(0).i32(0).f64(1).u8(2).f64(0).f64(0).i32(2);
    odd.f64(1).f64(1).f64(5).f64(5);
    Trajectory o;
    EXPECT_EQ(loadItem(o, odd.data), 0);
    EXPECT_TRUE(o.IsClosedShape());
    ASSERT_EQ(o.GetPointCount(), 2);
    EXPECT_EQ(o.GetPoint(1), (TrajectoryPoint{5, 5}));
}

TEST(TrajectoryFile, StoredCountsAreCheckedBeforeAnythingIsAllocated)
{
    const auto withCount = [](std::int32_t count, int pointsFollowing) {
        Bytes b;
        b.i32(0).i32(1).i32(0).str("x").str("");
        b.i32(0).i32(2).i32(0).i32(1).i32(0).i32(0).f64(1).u8(0).f64(0).f64(0).i32(count);
        for (int i = 0; i < pointsFollowing; ++i)
            b.f64(i).f64(-i);
        return b.data;
    };
    Trajectory t;
    EXPECT_THROW(loadItem(t, withCount(0x7FFFFFFF, 1)), CArchiveException);
    EXPECT_THROW(loadItem(t, withCount(2, 1)), CArchiveException);

    // A negative count holds no points.
    Trajectory n;
    n.AddPoint(9, 9);
    EXPECT_EQ(loadItem(n, withCount(-5, 0)), 0);
    EXPECT_EQ(n.GetPointCount(), 0);
    EXPECT_EQ(n.GetMinY(), 1.0);

    // A record cut short inside its fixed fields fails as an archive error.
    EXPECT_THROW(loadItem(t, sampleRecord().left(40)), CArchiveException);
}

TEST(TrajectoryFile, DocumentRoundTripKeepsEveryField)
{
    TempFolder folder;
    const std::string first = folder.path("paths.mrc");
    const std::string second = folder.path("again.mrc");
    ScriptedPrompter prompter;
    FixedKeySource keys({0x100, 0x12, 0x34, 0x56, 0x78, 0x9A});

    auto holder = createDocumentHolder();
    holder->setPrompter(&prompter);
    holder->setKeySource(&keys);
    const int index = holder->newItem(GroupTrajectories, "Orbit");
    ASSERT_GE(index, 0);
    auto* orbit = dynamic_cast<Trajectory*>(holder->get(GroupTrajectories, index));
    ASSERT_NE(orbit, nullptr);
    fillSample(*orbit);
    orbit->AddPoint(7.125, -1e-3);
    ASSERT_GE(holder->newItem(GroupTrajectories, "Empty"), 0);
    ASSERT_EQ(holder->save(first), 1);

    auto reread = createDocumentHolder();
    reread->setPrompter(&prompter);
    reread->setKeySource(&keys);
    ASSERT_EQ(reread->load(first), 1);
    EXPECT_TRUE(prompter.messages.empty());
    ASSERT_EQ(reread->count(GroupTrajectories), 2);
    auto* back = dynamic_cast<Trajectory*>(reread->get(GroupTrajectories, 0));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->id(), "Orbit");
    EXPECT_EQ(back->comments(), "around");
    EXPECT_EQ(back->GetType(), 2);
    EXPECT_EQ(back->GetPlayMode(), 5);
    EXPECT_EQ(back->GetOffsetX(), 3);
    EXPECT_EQ(back->GetOffsetY(), -4);
    EXPECT_EQ(back->GetPlaySpeed(), 1.5);
    EXPECT_TRUE(back->IsClosedShape());
    EXPECT_EQ(back->GetCenterOfMass(), (TrajectoryPoint{0.5, -2}));
    EXPECT_EQ(back->points(), orbit->points());
    auto* empty = dynamic_cast<Trajectory*>(reread->get(GroupTrajectories, 1));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->id(), "Empty");
    EXPECT_EQ(empty->GetPointCount(), 0);
    EXPECT_EQ(empty->GetPlayMode(), 1);

    // Saved again with the same key words, the file is the same to the byte.
    FixedKeySource sameKeys({0x100, 0x12, 0x34, 0x56, 0x78, 0x9A});
    reread->setKeySource(&sameKeys);
    ASSERT_EQ(reread->save(second), 1);
    EXPECT_EQ(readAll(second), readAll(first));
}
