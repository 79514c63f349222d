#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/FakeAudioBackend.h"
#include "media/output/ui/CAudioSettingsDialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {
template <typename W>
W* part(QWidget& dialog, const char* name)
{
    W* w = dialog.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Types into a field as a user does: select all, then the keys.
void type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}
// Replaces the field's text as a paste does: one edit.
void paste(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    edit->selectAll();
    edit->paste();
}
} // namespace

TEST(AudioSettingsDialog, EditsFollowTheRangesAndTheLatencyLine)
{
    CAudioPlayer player(std::make_unique<FakeAudioBackend>());
    CAudioSettings settings;
    ASSERT_EQ(settings.setDevice(1), 1);
    CAudioSettingsDialog dialog(settings, player, {"Card A", "Card B"});
    EXPECT_EQ(dialog.windowTitle(), "Audio Settings");
    auto* buffers = part<QLineEdit>(dialog, "buffers");
    auto* length = part<QLineEdit>(dialog, "length");
    auto* latency = part<QLabel>(dialog, "latency");
    auto* frequency = part<QComboBox>(dialog, "frequency");
    auto* device = part<QComboBox>(dialog, "device");
    ASSERT_TRUE(buffers && length && latency && frequency && device);

    EXPECT_EQ(latency->text(), "120 [ms] = 4 * 30 [ms]");
    ASSERT_EQ(frequency->count(), 3);
    EXPECT_EQ(frequency->itemText(0), "22050 Hz");
    EXPECT_EQ(frequency->currentText(), "44100 Hz");
    EXPECT_EQ(frequency->itemText(2), "48000 Hz");
    ASSERT_EQ(device->count(), 3);
    EXPECT_EQ(device->itemData(0).toInt(), -1) << "the default device keeps the id -1";
    EXPECT_EQ(device->itemData(2).toInt(), 1);
    EXPECT_EQ(device->currentText(), "Card B") << "the current device is selected";

    // Whole values pasted in: out of range, the previous value stays.
    paste(buffers, "33");
    EXPECT_EQ(dialog.settings().buffers(), 4) << "33 buffers are refused";
    paste(buffers, "0");
    EXPECT_EQ(dialog.settings().buffers(), 4);
    EXPECT_EQ(latency->text(), "120 [ms] = 4 * 30 [ms]");
    paste(length, "45");
    EXPECT_EQ(latency->text(), "180 [ms] = 4 * 45 [ms]");
    paste(length, "501");
    EXPECT_EQ(length->text(), "501");
    EXPECT_EQ(dialog.settings().lengthMs(), 45);
    emit length->editingFinished();
    EXPECT_EQ(length->text(), "45") << "leaving the field shows the value kept";

    // Typed key by key, every text on the way counts when it is in range:
    // "3" is taken, "33" is not.
    type(buffers, "33");
    EXPECT_EQ(dialog.settings().buffers(), 3);
    EXPECT_EQ(latency->text(), "135 [ms] = 3 * 45 [ms]") << "the line follows every accepted change";
    type(buffers, "8");
    EXPECT_EQ(latency->text(), "360 [ms] = 8 * 45 [ms]");
    type(length, "x");
    EXPECT_EQ(dialog.settings().lengthMs(), 45);
    type(length, "25");
    EXPECT_EQ(latency->text(), "200 [ms] = 8 * 25 [ms]");
    frequency->setCurrentIndex(0);
    device->setCurrentIndex(0);
    EXPECT_EQ(dialog.settings().rate(), 22050);
    EXPECT_EQ(dialog.settings().device(), -1);

    // A device no longer in the list: the default device is shown and taken.
    ASSERT_EQ(settings.setDevice(5), 1);
    CAudioSettingsDialog gone(settings, player, {"Card A"});
    EXPECT_EQ(part<QComboBox>(gone, "device")->currentIndex(), 0);
    EXPECT_EQ(gone.settings().device(), -1);
}

TEST(AudioSettingsDialog, OkStopsEverythingAndStartsAgainWithTheNewSettings)
{
    auto backend = std::make_unique<FakeAudioBackend>();
    FakeAudioBackend* card = backend.get();
    CAudioPlayer player(std::move(backend));
    player.initialise(CAudioSettings(), std::chrono::milliseconds(0));
    CMVT_WavMemory item;
    ASSERT_EQ(item.setSamples(16, 2, 44100, QByteArray(4 * 44100, '\1')), 1);
    ASSERT_EQ(player.play(&item, true), 1);
    const int opensBefore = card->opens;

    CAudioSettingsDialog dialog(CAudioSettings(), player, {"Card A"});
    type(part<QLineEdit>(dialog, "buffers"), "6");
    type(part<QLineEdit>(dialog, "length"), "20");
    part<QComboBox>(dialog, "frequency")->setCurrentIndex(2);
    part<QComboBox>(dialog, "device")->setCurrentIndex(1);
    dialog.accept();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(player.state(&item), CAudioPlayer::Stopped) << "all playback stops";
    EXPECT_GT(card->opens, opensBefore) << "the audio starts again";
    EXPECT_EQ(card->openDevice, 0);
    EXPECT_EQ(card->openFormat, (std::vector<int>{48000, 2, 16, 960}));
    EXPECT_EQ(player.output().bufferCount(), 6);
    EXPECT_EQ(player.output().framesPerBuffer(), 960);
    EXPECT_EQ(player.mixer().voiceCount(), 32);
}
