#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/sounds/ui/CSoundsPanel.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/CAudioSettings.h"
#include "media/output/CCaptureAudioBackend.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QMenu>
#include <QTableView>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
// A 16-bit WAV file of `frames` frames of a slow ramp.
QByteArray wavFile(int frames, int channels, int rate)
{
    const int blockAlign = channels * 2;
    QByteArray bytes(44, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    std::memcpy(bytes.data(), "RIFF", 4);
    put32(4, static_cast<quint32>(36 + frames * blockAlign));
    std::memcpy(bytes.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, static_cast<quint16>(channels));
    put32(24, static_cast<quint32>(rate));
    put32(28, static_cast<quint32>(rate * blockAlign));
    put16(32, static_cast<quint16>(blockAlign));
    put16(34, 16);
    std::memcpy(bytes.data() + 36, "data", 4);
    put32(40, static_cast<quint32>(frames * blockAlign));
    for (int i = 0; i < frames * channels; ++i) {
        const qint16 sample = static_cast<qint16>((i % 200) * 100 - 10000);
        bytes.append(reinterpret_cast<const char*>(&sample), 2);
    }
    return bytes;
}

struct SoundsFixture : ::testing::Test {
    SoundsFixture() : holder(&createKindPrototype), player(std::make_unique<CCaptureAudioBackend>())
    {
        player.initialise(CAudioSettings(), std::chrono::milliseconds(0));
        panel.setAudioPlayer(&player);
        panel.attach(&holder, &host);
        drum = folder.path("drum.wav");
        writeAll(drum, wavFile(1000, 2, 22050));
    }
    CMVT_WavMemory* sound(int i) { return dynamic_cast<CMVT_WavMemory*>(holder.get(GroupSounds, i)); }
    static constexpr int kPlay = CSoundsPanel::ColPlay + CItemsGrid::kLeadingColumns;

    TempFolder folder;
    ScriptedUi ui;
    CResourceHolder holder;
    RecordingPanelHost host;
    CAudioPlayer player;
    CSoundsPanel panel;
    std::string drum;
};
} // namespace

TEST_F(SoundsFixture, InsertLoadsEachFileAndRemovesFailures)
{
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Play", "Specifications", "Comments"}));

    const std::string broken = folder.path("broken.ogg");
    writeAll(broken, QByteArray("not an ogg stream"));
    ui.files.answers.push_back({drum, broken});
    panel.runCommand(CItemsGrid::CmdInsert);
    ASSERT_EQ(ui.files.requests.size(), 1u);
    EXPECT_EQ(ui.files.requests[0].title, "Insert Sound(s) Filename(s)");
    EXPECT_EQ(ui.files.requests[0].filter.substr(0, 42), "Supported Sounds Files (*.wav;*.ogg;*.pcm)");
    ASSERT_EQ(holder.count(GroupSounds), 1);
    EXPECT_EQ(sound(0)->id(), "drum");
    EXPECT_EQ(panel.gridCellText(CSoundsPanel::ColSpecs + CItemsGrid::kLeadingColumns, 0),
              "WAV, 1000 Data, 4000 Bytes (16 Bits, 2 Channels, 22050 Hz)");
    EXPECT_EQ(panel.gridCellText(kPlay, 0), "Stop");
}

TEST_F(SoundsFixture, PlayCellDrivesThePlayerAndPastesIntoMarkedRows)
{
    panel.insertSounds({drum, drum});
    panel.refresh();
    panel.selectRow(0);
    panel.setMarked(1, true);
    const int modified = host.modified;
    panel.editCell(kPlay, 0, "Loop Play");
    EXPECT_EQ(player.state(sound(0)), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(player.state(sound(1)), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(panel.gridCellText(kPlay, 1), "Loop Play");

    panel.setMarked(1, false);
    panel.editCell(kPlay, 0, "Stop");
    EXPECT_EQ(player.state(sound(0)), CAudioPlayer::Stopped);
    EXPECT_EQ(player.state(sound(1)), CAudioPlayer::LoopPlaying);
    // A label that names no state does nothing.
    panel.editCell(kPlay, 1, "Pause");
    EXPECT_EQ(player.state(sound(1)), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(host.modified, modified) << "playing is not an edit";
    panel.editCell(CSoundsPanel::ColId + CItemsGrid::kLeadingColumns, 1, "renamed");
    EXPECT_EQ(host.modified, modified + 1);
    player.stopAll();
}

TEST_F(SoundsFixture, LoadKeepsTheItemWhenTheFileFailsAndRenamesNewIds)
{
    panel.insertSounds({drum});
    panel.insertItem(); // cancelled dialog: nothing added
    EXPECT_EQ(holder.count(GroupSounds), 1);
    holder.newItem(GroupSounds, "New ID");
    panel.refresh();

    panel.selectRow(0);
    ui.files.answers.push_back({folder.path("missing.wav")});
    panel.runCommand(CItemsGrid::kEditorBase + CSoundsPanel::EntryLoad);
    EXPECT_EQ(ui.files.requests.back().title, "Load Wav Into Memory");
    EXPECT_EQ(sound(0)->frames(), 1000);
    EXPECT_TRUE(sound(0)->hasData());

    panel.selectRow(1);
    ui.files.answers.push_back({drum});
    const int before = host.modified;
    panel.runCommand(CItemsGrid::kEditorBase + CSoundsPanel::EntryLoad);
    EXPECT_EQ(sound(1)->id(), "drum");
    EXPECT_EQ(sound(1)->frames(), 1000);
    EXPECT_GT(host.modified, before);
}

TEST_F(SoundsFixture, MenuEntriesAndChannelSwap)
{
    QMenu empty;
    panel.buildMenu(empty, CItemsGrid::kEditorBase);
    ASSERT_EQ(empty.actions().size(), 2);
    EXPECT_EQ(empty.actions()[0]->text(), "&Load Wav/Ogg...");
    EXPECT_FALSE(empty.actions()[0]->isEnabled());
    EXPECT_EQ(empty.actions()[0]->statusTip(), "Load Wav or Ogg into the selected CMVT_WavMemory");
    EXPECT_EQ(empty.actions()[1]->text(), "S&wap Display Channels Priority");
    EXPECT_EQ(empty.actions()[1]->statusTip(), "Bring the left or right audio channel to the foreground");
    EXPECT_TRUE(empty.actions()[1]->isEnabled());
    panel.insertSounds({drum});
    panel.refresh();
    panel.selectRow(0);
    QMenu withItem;
    panel.buildMenu(withItem, CItemsGrid::kEditorBase);
    EXPECT_TRUE(withItem.actions()[0]->isEnabled());

    const int before = host.modified;
    panel.runCommand(CItemsGrid::kEditorBase + CSoundsPanel::EntrySwapChannels);
    EXPECT_TRUE(panel.swapChannels());
    panel.runCommand(CItemsGrid::kEditorBase + CSoundsPanel::EntrySwapChannels);
    EXPECT_FALSE(panel.swapChannels());
    EXPECT_EQ(host.modified, before);
}

TEST_F(SoundsFixture, CheckPassesDistinctIdsAndReportsAClash)
{
    ASSERT_EQ(panel.insertSounds({drum}), 0);
    holder.newItem(GroupSounds, "silence");
    holder.newItem(GroupSounds, "kick");
    panel.reload();
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(ui.prompter.messages.empty());
    sound(2)->setId("drum");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{"The ID \"drum\" of item 2 is already the ID of item 0."});
    EXPECT_EQ(panel.currentItem(), 2);
}

TEST_F(SoundsFixture, DroppedFilesAreLoadedAndFailuresRemoved)
{
    const std::string broken = folder.path("broken.wav");
    writeAll(broken, QByteArray("RIFF but nothing else"));
    panel.dropFiles({QString::fromStdString(broken), QString::fromStdString(drum)});
    ASSERT_EQ(holder.count(GroupSounds), 1);
    EXPECT_EQ(sound(0)->id(), "drum");
    EXPECT_EQ(sound(0)->frames(), 1000);
    EXPECT_EQ(panel.rowCount(), 1);
    EXPECT_GT(host.modified, 0);
    EXPECT_TRUE(ui.prompter.messages.empty());
}

TEST_F(SoundsFixture, SortingByThePlayCellOrdersByState)
{
    panel.insertSounds({drum, drum, drum});
    sound(0)->setId("looping");
    sound(1)->setId("stopped");
    sound(2)->setId("playing");
    player.setState(sound(0), CAudioPlayer::LoopPlaying);
    player.setState(sound(2), CAudioPlayer::Playing);
    panel.refresh();
    panel.selectAll();
    panel.setCurrentCell(kPlay, 0);
    panel.sortItems(true);
    std::vector<std::string> ids;
    for (int i = 0; i < 3; ++i)
        ids.push_back(sound(i)->id());
    // Stop, Play, Loop Play: the states' order, not the labels' alphabet.
    EXPECT_EQ(ids, (std::vector<std::string>{"stopped", "playing", "looping"}));
    player.stopAll();
}

TEST_F(SoundsFixture, DeletingAPlayingSoundSilencesOnlyIt)
{
    panel.insertSounds({drum, drum});
    sound(1)->setId("kept");
    panel.refresh();
    player.setState(sound(0), CAudioPlayer::LoopPlaying);
    player.setState(sound(1), CAudioPlayer::LoopPlaying);
    auto playingVoices = [this] {
        int playing = 0;
        for (int i = 0; i < player.mixer().voiceCount(); ++i)
            playing += player.mixer().voice(i).isPlaying() ? 1 : 0;
        return playing;
    };
    ASSERT_EQ(playingVoices(), 2);
    panel.selectRow(0);
    panel.deleteItems();
    ASSERT_EQ(holder.count(GroupSounds), 1);
    ASSERT_EQ(sound(0)->id(), "kept");
    EXPECT_EQ(playingVoices(), 1);
    EXPECT_EQ(player.state(sound(0)), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(panel.gridCellText(kPlay, 0), "Loop Play");
    player.stopAll();
}

TEST_F(SoundsFixture, PlayCellsFollowASoundThatEndsOnItsOwn)
{
    panel.insertSounds({drum});
    panel.refresh();
    EXPECT_TRUE(panel.followPlayStates()) << "the first look records what is shown";
    EXPECT_FALSE(panel.followPlayStates()) << "nothing changed, nothing to repaint";

    player.setState(sound(0), CAudioPlayer::Playing);
    EXPECT_TRUE(panel.followPlayStates());
    EXPECT_EQ(panel.gridCellText(kPlay, 0), "Play");

    // The drum lasts 1000 frames; mixing well past them lets it end.
    std::vector<float> out(2 * 4096);
    for (int pass = 0; pass < 8 && player.state(sound(0)) != CAudioPlayer::Stopped; ++pass)
        player.mixer().generateFloats(out.data(), 4096, 44100, 0);
    ASSERT_EQ(player.state(sound(0)), CAudioPlayer::Stopped);
    EXPECT_TRUE(panel.followPlayStates());
    EXPECT_EQ(panel.gridCellText(kPlay, 0), "Stop");
    EXPECT_FALSE(panel.followPlayStates());
}
