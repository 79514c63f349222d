#include "app/CQuillopApp.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "media/audio/CSoundSet.h"
#include "params/ui/CMVT_ParamBoolean.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CParametersDialog.h"
#include "tools/renamer/ui/CRenameFilesDialog.h"
#include "tools/resourcemanager/ui/CResourceFilesManagerDialog.h"
#include "tools/soundsplitter/ui/CExtractSoundsDialog.h"
#include "tools/videoconversion/ui/CCompressionDialog.h"
#include "tools/videoconversion/ui/CVideoConversionDialogs.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {
std::string itemsOf(const CMVT_ParameterList& sheet)
{
    std::string out;
    for (int i = 0; i < sheet.count(); ++i)
        out += sheet.item(i)->name() + ":" + sheet.item(i)->kindName() + ":" + sheet.item(i)->label() + "|";
    return out;
}

void pressButton(CMVT_ParameterList& sheet, const char* name)
{
    sheet.findAs<CMVT_ParamButton>(name)->notifyChanged();
}
} // namespace

TEST(ConversionTools, VideoSheetsHaveTheirItemsRefuseNoDestinationAndRememberTheirChoices)
{
    std::unique_ptr<CParametersDialog> toImages(CVideoConversionDialogs::createMovieToImages(nullptr));
    EXPECT_EQ(toImages->windowTitle(), "Convert AVI Video File to Images Files");
    EXPECT_EQ(itemsOf(*toImages->sheet()),
              ":Title:Convert AVI File to Images Files|source:Filename:&Source AVI Filename|"
              "alpha:Boolean:Extract &Alpha Channel|destination:Filename:&Destination Images Filenames|");
    std::unique_ptr<CParametersDialog> toMovie(CVideoConversionDialogs::createImagesToMovie(nullptr));
    EXPECT_EQ(itemsOf(*toMovie->sheet()),
              ":Title:Convert Images Files to AVI File|sources:Filenames:&Source Images Filenames|"
              "fps:Integer:&Frame Rate In Frame Per Second|width:Integer:Video &Width In Pixels|"
              "height:Integer:Video &Height In Pixels|destination:Filename:&Destination AVI Filename|");

    // OK with no file named keeps the sheet open and says so; a named file
    // closes it and comes back the next time.
    ScriptedUi ui;
    const struct {
        CParametersDialog* (*create)(QWidget*);
        const char* refusal;
    } sheets[] = {{&CVideoConversionDialogs::createMovieToImages, CVideoConversionDialogs::kNoImagesDestination},
                  {&CVideoConversionDialogs::createImagesToMovie, CVideoConversionDialogs::kNoMovieDestination}};
    for (const auto& sheet : sheets) {
        std::unique_ptr<CParametersDialog> dialog(sheet.create(nullptr));
        auto* destination = dialog->sheet()->findAs<CMVT_ParamFilename>("destination");
        for (const std::string& refused : {std::string(), QDir::tempPath().toStdString() + "/"}) {
            ui.prompter.messages.clear();
            destination->setPath(refused);
            dialog->accept();
            EXPECT_NE(dialog->result(), QDialog::Accepted) << refused;
            EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{sheet.refusal}) << refused;
        }
        destination->setPath("/tmp/frames.bmp");
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        std::unique_ptr<CParametersDialog> again(sheet.create(nullptr));
        EXPECT_EQ(again->sheet()->findAs<CMVT_ParamFilename>("destination")->path(), "/tmp/frames.bmp");
    }

    QStandardPaths::setTestModeEnabled(true);
    CMovieCompression chosen;
    chosen.encoder = "ffv1";
    chosen.quality = 40;
    CCompressionDialog::remember(chosen);
    CCompressionDialog dialog(CCompressionDialog::remembered());
    EXPECT_EQ(dialog.compression().encoder, "ffv1");
    EXPECT_EQ(dialog.compression().quality, 40);
    QSettings(QString::fromLatin1(CQuillopApp::kOrganisation), QStringLiteral("Quillop")).clear();
    EXPECT_EQ(CCompressionDialog::remembered().encoder, "mjpeg");
}

TEST(ConversionTools, ManagerFiltersConvertsAndAsksBeforeReplacing)
{
    ScriptedUi ui;
    TempFolder folder;
    const std::string old = folder.path("old.mrc"), notes = folder.path("notes.txt");
    ASSERT_EQ(createDocumentHolder()->save(old), 1);
    writeAll(notes, "not a resource file at all, only words");
    CResourceFilesManagerDialog dialog;
    EXPECT_EQ(itemsOf(*dialog.sheet()).substr(0, 31), ":Title:Manage Resources Files|:");
    dialog.sources()->setText(old + "\n" + notes + "\n");
    pressButton(*dialog.sheet(), "convert");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.path("old-NEW-.mrc"))));
    EXPECT_EQ(dialog.summary()->label(), "1 of 2 files converted.\nSkipped:\nnotes.txt: not a resource file");

    writeAll(folder.path("old-NEW-.mrc"), "mine");
    pressButton(*dialog.sheet(), "convert"); // the scripted answer is No
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], folder.path("old-NEW-.mrc") + " already exists.\n\nDo you want to replace it ?");
    EXPECT_EQ(ui.prompter.buttons[0], IPrompter::Buttons::YesNoDefaultNo);
    EXPECT_EQ(readAll(folder.path("old-NEW-.mrc")), "mine");

    pressButton(*dialog.sheet(), "filter");
    EXPECT_EQ(dialog.sources()->fileNames(), std::vector<std::string>{old});
}

TEST(ConversionTools, ExtractSoundsPreviewsCutsAndWritesFilesOrDocumentSounds)
{
    TempFolder folder;
    CSoundSet sound;
    sound.setSampleRate(8000);
    CSampleBuffer& b = sound.addChannel();
    b.resize(16000);
    for (std::uint32_t i = 0; i < 16000; ++i)
        b.set(i, (i < 4000 || (i >= 10000 && i < 13000)) ? 0.5 * std::sin(i * 0.3) : 0.0);
    ASSERT_EQ(sound.writeWav(folder.path("rec.wav"), 0, 16000, 16, 8000, 0, 1, {}), 1);

    auto holder = createDocumentHolder();
    CExtractSoundsDialog dialog([&](const CSoundSet& s, const auto& segments, const std::string& base) {
        return CSilenceSplitter::addToSounds(*holder, s, segments, base);
    });
    ASSERT_TRUE(dialog.loadSource(folder.path("rec.wav")));
    EXPECT_EQ(dialog.segments().size(), 2u);
    dialog.sheet()->findAs<CMVT_ParamFilename>("destination")->setPath(folder.path("out"));
    pressButton(*dialog.sheet(), "write");
    EXPECT_EQ(dialog.resultLine()->label(), "2 WAV files written.");
    EXPECT_EQ(QDir(QString::fromStdString(folder.path("out"))).entryList(QDir::Files),
              QStringList({"rec_001.wav", "rec_002.wav"}));
    pressButton(*dialog.sheet(), "add");
    EXPECT_EQ(holder->count(GroupSounds), 2);
    EXPECT_EQ(holder->get(GroupSounds, 1)->id(), "rec_002");

    CExtractSoundsDialog withoutDocument({});
    EXPECT_FALSE(withoutDocument.sheet()->find("add")->isEnabled());
}

TEST(ConversionTools, RenameShowsThePreviewAndRefusesCollisions)
{
    TempFolder folder;
    for (const char* name : {"a1.txt", "a2.txt"})
        writeAll(folder.path(name), name);
    CRenameFilesDialog dialog;
    dialog.files()->setText(folder.path("a1.txt") + "\n" + folder.path("a2.txt"));
    auto* find = dialog.sheet()->findAs<CMVT_ParamText>("find");
    find->setValue("\\d");
    dialog.sheet()->findAs<CMVT_ParamBoolean>("regex")->setValue(true);
    dialog.refreshPreview();
    ASSERT_EQ(dialog.preview()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.preview()->topLevelItem(0)->text(1), "a.txt");
    EXPECT_EQ(dialog.preview()->topLevelItem(0)->text(2), "another file of the list takes this name");
    EXPECT_FALSE(dialog.sheet()->find("rename")->isEnabled());
    EXPECT_FALSE(dialog.renameFiles());

    find->setValue("a");
    dialog.sheet()->findAs<CMVT_ParamText>("replace")->setValue("b");
    dialog.refreshPreview();
    EXPECT_TRUE(dialog.sheet()->find("rename")->isEnabled());
    ASSERT_TRUE(dialog.renameFiles());
    EXPECT_EQ(readAll(folder.path("b1.txt")), "a1.txt");
    EXPECT_EQ(dialog.files()->fileNames(), (std::vector<std::string>{folder.path("b1.txt"), folder.path("b2.txt")}));
    EXPECT_EQ(dialog.resultLine()->label(), "2 files renamed.");
}

// Pictures of the conversion windows, filled in as a user would, for
// tests/ui/screenshots.sh.
TEST(Screenshots, ConversionTools)
{
    const QString out = qEnvironmentVariable("QUILLOP_SCREENSHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS is not set";
    auto shoot = [&out](QWidget& w, const char* name) {
        w.show();
        QApplication::processEvents();
        ASSERT_TRUE(w.grab().save(QDir(out).filePath(QString::fromLatin1(name)))) << name;
    };
    TempFolder folder;
    std::unique_ptr<CParametersDialog> toImages(CVideoConversionDialogs::createMovieToImages(nullptr));
    shoot(*toImages, "tool-avi-to-images.png");
    std::unique_ptr<CParametersDialog> toMovie(CVideoConversionDialogs::createImagesToMovie(nullptr));
    toMovie->sheet()->findAs<CMVT_ParamFilenames>("sources")->setText("/tmp/frames/a.png\n/tmp/frames/b.png\n");
    shoot(*toMovie, "tool-images-to-avi.png");
    CCompressionDialog compression(CMovieCompression{});
    shoot(compression, "tool-compression.png");

    CResourceFilesManagerDialog manager;
    manager.sources()->setText(folder.path("old.mrc") + "\n" + folder.path("notes.txt") + "\n");
    manager.convertFiles();
    shoot(manager, "tool-resources-manager.png");

    CSoundSet sound;
    sound.setSampleRate(8000);
    CSampleBuffer& b = sound.addChannel();
    b.resize(48000);
    for (std::uint32_t i = 0; i < b.count(); ++i)
        b.set(i, (i / 6000) % 2 ? 0.0 : std::sin(i * 0.2) * (0.2 + 0.7 * ((i % 6000) / 6000.0)));
    ASSERT_EQ(sound.writeWav(folder.path("recording.wav"), 0, b.count(), 16, 8000, 0, 1, {}), 1);
    CExtractSoundsDialog extract({});
    extract.loadSource(folder.path("recording.wav"));
    shoot(extract, "tool-extract-sounds.png");

    for (const char* name : {"photo 1.jpg", "photo 2.jpg", "photo 3.jpg", "notes.txt"})
        writeAll(folder.path(name), name);
    CRenameFilesDialog rename;
    rename.files()->setText(folder.path("photo 1.jpg") + "\n" + folder.path("photo 2.jpg") + "\n"
                            + folder.path("photo 3.jpg") + "\n" + folder.path("notes.txt"));
    rename.sheet()->findAs<CMVT_ParamText>("find")->setValue("photo ");
    rename.sheet()->findAs<CMVT_ParamText>("replace")->setValue("holiday_");
    rename.refreshPreview();
    shoot(rename, "tool-rename-files.png");
}
