// Pictures of the interface building blocks, for people to look at. Run
// through tests/ui/screenshots.sh; the test writes into the folder named by
// QUILLOP_SCREENSHOTS and is skipped when that is not set.
#include "params/ui/CGuiColorsDialog.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CEditValueDialog.h"
#include "grid/ui/CImageChooserDialog.h"
#include "kinds/CItemKinds.h"
#include "media/image/CDisplayBuffer.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamToolBar.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CMVT_ParametersDocument.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <cfloat>

namespace {
QString shotFolder() { return qEnvironmentVariable("QUILLOP_SCREENSHOTS"); }

void save(QWidget& w, const char* name)
{
    QApplication::processEvents();
    const QPixmap shot = w.grab();
    ASSERT_FALSE(shot.isNull()) << name;
    ASSERT_TRUE(shot.save(QDir(shotFolder()).filePath(QString::fromLatin1(name)))) << name;
}

std::unique_ptr<CResourceHolder> pictures()
{
    auto holder = createDocumentHolder();
    const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const int row = holder->newItem(GroupBitmaps, "picture " + std::to_string(i));
        QImage image(48, 32, QImage::Format_ARGB32);
        image.fill(colours[i]);
        QPainter(&image).drawEllipse(4, 4, 40, 24);
        dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, row))->attachImage(image);
    }
    return holder;
}

class EveryKindTool : public CMVT_ParametersDocument {
public:
    explicit EveryKindTool(const CResourceHolder* doc) : m_doc(doc) {}
    std::string toolTitle() const override { return "Every Parameter Kind"; }
    void buildSheet() override
    {
        CMVT_ParameterList* s = sheet();
        s->addTitle(0, "t0", "Every Parameter Kind");
        s->addInfo(1, "info", "No Sample Loaded.");
        s->addTitle(1, "t1", "Values");
        s->addBoolean(1, "b", "&Normalize", true);
        s->addInteger(1, "i", "&Count", 0, 100000, 1000);
        s->addFloat(1, "f", "&Gain", -DBL_MAX, DBL_MAX, 1234.5);
        s->addText(1, "t", "&Name", "bass drum");
        s->addText(1, "m", "&Notes", "first line\nsecond line", true);
        s->addTitle(1, "t2", "Files");
        s->addFilename(1, "fn", "&Source", 0, "", "/tmp");
        s->addFilenames(1, "fns", "&Sources", "/tmp/a.wav\n/tmp/b.wav");
        s->addColor(1, "c", "&Colour", 0x0040A0FF);
        s->addBitmap(1, "bmp", "&Picture", m_doc, "picture 1");
        s->addButton(1, "go", "&Run");
        s->addToolBar(1, "bar", {{"Play", "Play", "Play the sound"}, {"Stop", "Stop", "Stop playing"}});
    }

private:
    const CResourceHolder* m_doc;
};
} // namespace

TEST(Screenshots, EveryWindow)
{
    if (shotFolder().isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    QDir().mkpath(shotFolder());
    auto doc = pictures();

    QMdiArea area;
    area.resize(760, 940);
    auto* tool = new EveryKindTool(doc.get());
    tool->create();
    tool->setName("No Name");
    auto* frame = area.addSubWindow(tool);
    frame->resize(740, 920);
    area.show();
    frame->show();
    auto* gain = tool->sheet()->findAs<CMVT_ParamFloat>("f");
    gain->edit()->setFocus();
    gain->edit()->setEditing(true);
    save(area, "tool_window.png");

    CGuiColorsDialog colors;
    colors.show();
    save(colors, "gui_colors.png");

    CEditValueDialog edit(false, "+42", "+12");
    edit.show();
    save(edit, "edit_value.png");

    CImageChooserDialog chooser(doc.get(), 1);
    chooser.show();
    save(chooser, "chose_image.png");

    // A grid of every cell kind.
    const CellValue::ChoiceList modes = {"Forward Once", "Forward Loop"};
    std::vector<CellValue> cells;
    for (int k = 0; k < CellValue::kKindCount; ++k)
        cells.emplace_back(k);
    cells[2].setFromText("text");
    cells[3].setFromText("long text\non two lines");
    cells[4].setInteger(7);
    cells[5].setReal(2.5);
    cells[6].setYesNo(true);
    cells[7].setColor({0x336699, 255});
    cells[8].setPicture(doc.get(), -1);
    cells[9].setPicture(doc.get(), 2);
    cells[11].setInteger(-1);
    cells[12].setChoice(&modes, 1);
    QStandardItemModel model(CellValue::kKindCount, 1);
    QTableView view;
    view.setItemDelegate(new CCellDelegate([&](const QModelIndex& i) { return &cells[static_cast<std::size_t>(i.row())]; },
                                           &view));
    view.setModel(&model);
    view.resize(320, 520);
    view.setColumnWidth(0, 260);
    view.resizeRowsToContents();
    view.show();
    view.setCurrentIndex(model.index(4, 0));
    save(view, "cells.png");
}
