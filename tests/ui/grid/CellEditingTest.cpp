#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CCellEditor.h"
#include "grid/ui/CEditValueDialog.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include "params/ui/CGuiColors.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/CBitmapItem.h"

#include <QApplication>
#include <QPainter>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Records what the pickers were asked and answers from the test.
class ScriptedCellEditor : public CCellEditor {
public:
    bool colorAnswer = false;
    std::uint32_t colorChosen = 0;
    int listAnswer = -1;
    bool textAnswer = false;
    std::string textChosen;
    std::string initialSeen, previousSeen;
    bool multiLineSeen = false;
    int imageAnswer = -2;
    int calls = 0;

protected:
    bool chooseColor(QWidget*, std::uint32_t& rgb) override
    {
        ++calls;
        if (colorAnswer)
            rgb = colorChosen;
        return colorAnswer;
    }
    bool chooseImage(QWidget*, const CResourceHolder*, int& index) override
    {
        ++calls;
        if (imageAnswer == -2)
            return false;
        index = imageAnswer;
        return true;
    }
    int chooseFromList(QWidget*, const QRect&, const CellValue::ChoiceList&, int) override
    {
        ++calls;
        return listAnswer;
    }
    bool editText(QWidget*, bool multiLine, const std::string& initial, const std::string& previous,
                  std::string& result) override
    {
        ++calls;
        multiLineSeen = multiLine;
        initialSeen = initial;
        previousSeen = previous;
        result = textChosen;
        return textAnswer;
    }
};

CellValue editable(int kind)
{
    CellValue v(kind);
    v.setEditable(true);
    return v;
}
} // namespace

TEST(CellEditor, EachKindGoesToItsPicker)
{
    ScriptedCellEditor ed;
    CellValue locked(CellValue::KindInteger);
    EXPECT_EQ(ed.edit(locked, nullptr, {}, "5", false), 0);
    EXPECT_EQ(ed.calls, 0);

    CellValue none = editable(CellValue::KindNone), rel = editable(CellValue::KindRelativePicture);
    EXPECT_EQ(ed.edit(none, nullptr, {}, "", true), 0);
    EXPECT_EQ(ed.edit(rel, nullptr, {}, "", true), 0);
    EXPECT_EQ(ed.calls, 0);

    CellValue yes = editable(CellValue::KindYesNo);
    EXPECT_EQ(ed.edit(yes, nullptr, {}, "y", false), 1);
    EXPECT_TRUE(yes.yesNo());

    CellValue color = editable(CellValue::KindColor);
    color.setColor({0x111111, 40});
    EXPECT_EQ(ed.edit(color, nullptr, {}, "", true), 0);
    ed.colorAnswer = true;
    ed.colorChosen = 0x00AABBCC;
    EXPECT_EQ(ed.edit(color, nullptr, {}, "", true), 1);
    EXPECT_EQ(color.color(), (CellValue::Color{0x00AABBCC, 40}));

    const CellValue::ChoiceList list = {"a", "b", "c"};
    CellValue choice = editable(CellValue::KindChoice);
    choice.setChoice(&list, 0);
    EXPECT_EQ(ed.edit(choice, nullptr, {}, "", true), 0);
    ed.listAnswer = 2;
    EXPECT_EQ(ed.edit(choice, nullptr, {}, "", true), 1);
    EXPECT_EQ(choice.text(), "c");

    CellValue picture = editable(CellValue::KindPicture);
    EXPECT_EQ(ed.edit(picture, nullptr, {}, "", true), 0);
    ed.imageAnswer = -1;
    EXPECT_EQ(ed.edit(picture, nullptr, {}, "", true), 1);
    EXPECT_EQ(picture.integer(), -1);
}

TEST(CellEditor, TextKindsUseTheEditValueDialog)
{
    ScriptedCellEditor ed;
    CellValue n = editable(CellValue::KindInteger);
    n.setInteger(12);
    ed.textAnswer = true;
    ed.textChosen = "7";
    EXPECT_EQ(ed.edit(n, nullptr, {}, "7", false), 1);
    EXPECT_EQ(ed.initialSeen, "7");
    EXPECT_EQ(ed.previousSeen, "+12");
    EXPECT_FALSE(ed.multiLineSeen);
    EXPECT_EQ(n.integer(), 7);

    CellValue longText = editable(CellValue::KindLongText);
    longText.setFromText("old");
    ed.textChosen = "new\ntext";
    EXPECT_EQ(ed.edit(longText, nullptr, {}, "x", true), 1);
    EXPECT_EQ(ed.initialSeen, "old");
    EXPECT_TRUE(ed.multiLineSeen);
    EXPECT_EQ(longText.text(), "new\ntext");

    ed.textAnswer = false;
    EXPECT_EQ(ed.edit(longText, nullptr, {}, "x", true), 0);
    EXPECT_EQ(longText.text(), "new\ntext");
}

TEST(CellEditor, EditValueDialogShowsTheSheet)
{
    CEditValueDialog dialog(false, "4", "+12");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Value"));
    ASSERT_EQ(dialog.sheet()->count(), 3);
    EXPECT_EQ(dialog.sheet()->item(0)->label(), "Edit Cell(s) Value");
    EXPECT_EQ(dialog.sheet()->item(1)->label(), "&Value");
    EXPECT_EQ(dialog.sheet()->findAs<CMVT_ParamInfo>("previous")->shownText(), QStringLiteral("Previous Value:\n+12"));
    EXPECT_EQ(dialog.value(), "4");
    QTest::keyClicks(dialog.valueItem()->edit(), "2");
    EXPECT_EQ(dialog.value(), "42");
}

TEST(CellDelegate, PreferredSizes)
{
    const QFontMetrics fm(QApplication::font());
    CellValue spacer(CellValue::KindSpacer);
    EXPECT_EQ(CCellDelegate::preferredSize(spacer, fm, 0, 0, false), QSize(8, 8));
    CellValue empty(CellValue::KindText);
    EXPECT_EQ(CCellDelegate::preferredSize(empty, fm, 0, 0, false), QSize(6, 6));
    CellValue n(CellValue::KindInteger);
    n.setInteger(123456);
    const QSize text = fm.size(Qt::TextSingleLine, QStringLiteral("+123456"));
    const QSize plain(std::max(text.width(), 8) + 16, std::max(text.height() + 4, 18));
    EXPECT_EQ(CCellDelegate::preferredSize(n, fm, 0, 0, false), plain);
    CellValue c(CellValue::KindColor);
    const QSize cs = CCellDelegate::preferredSize(c, fm, 0, 0, false);
    const QSize ct = fm.size(Qt::TextSingleLine, QString::fromStdString(c.text()));
    EXPECT_EQ(cs, QSize(std::max(ct.width(), 8) + 26, std::max(ct.height() + 4, 18) + 10));
}

TEST(CellDelegate, TypingInAViewEditsTheCellAndReportsIt)
{
    QStandardItemModel model(2, 1);
    std::vector<CellValue> cells(2, editable(CellValue::KindYesNo));
    QTableView view;
    auto* delegate = new CCellDelegate(
        [&](const QModelIndex& index) { return index.isValid() ? &cells[static_cast<std::size_t>(index.row())] : nullptr; },
        &view);
    view.setModel(&model);
    view.setItemDelegate(delegate);
    view.setEditTriggers(QAbstractItemView::AllEditTriggers);
    std::vector<int> edited;
    QObject::connect(delegate, &CCellDelegate::cellEdited, [&](const QModelIndex& i) { edited.push_back(i.row()); });
    view.show();
    view.setCurrentIndex(model.index(1, 0));
    QTest::keyClick(&view, Qt::Key_Y);
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(edited[0], 1);
    EXPECT_TRUE(cells[1].yesNo());
    EXPECT_FALSE(cells[0].yesNo());

    QImage image(200, 40, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    CCellDelegate::paintCell(p, QRect(0, 0, 200, 40), cells[1], 0, 1, false, true, true);
    p.end();
    EXPECT_EQ(image.pixelColor(150, 30), CGuiColors::instance().qcolor(CGuiColors::WindowSpottedFace));
}

// A click on a choice's arrow opens its list; a click elsewhere in the cell
// only makes it current.
TEST(CellDelegate, AClickOnAChoicesArrowOpensItsList)
{
    QStandardItemModel model(1, 1);
    const CellValue::ChoiceList list = {"one", "two"};
    CellValue choice = editable(CellValue::KindChoice);
    choice.setChoice(&list, 0);
    QTableView view;
    auto* delegate = new CCellDelegate([&](const QModelIndex& i) { return i.isValid() ? &choice : nullptr; }, &view);
    auto editor = std::make_unique<ScriptedCellEditor>();
    ScriptedCellEditor& scripted = *editor;
    scripted.listAnswer = 1;
    delegate->setEditor(std::move(editor));
    view.setModel(&model);
    view.setItemDelegate(delegate);
    view.show();
    const QRect cell = view.visualRect(model.index(0, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 4, cell.center().y()));
    EXPECT_EQ(scripted.calls, 0);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 4, cell.center().y()));
    EXPECT_EQ(scripted.calls, 1);
    EXPECT_EQ(choice.text(), "two");
}

TEST(CellDelegate, PictureCellsShowPicturesRegionsAndMarkedRows)
{
    auto document = createDocumentHolder();
    document->newItem(GroupBitmaps, "picture");
    document->newItem(GroupBitmaps, "region");
    auto* picture = dynamic_cast<CBitmapItem*>(document->get(GroupBitmaps, 0));
    auto* region = dynamic_cast<CBitmapItem*>(document->get(GroupBitmaps, 1));
    ASSERT_TRUE(picture && region);
    QImage red(8, 8, QImage::Format_ARGB32_Premultiplied);
    red.fill(Qt::red);
    ASSERT_TRUE(picture->attachImage(red));
    // An L shape: its bounding box holds a corner the region leaves out.
    region->setRegion(QRegion(0, 0, 20, 10) + QRegion(0, 10, 10, 10));

    auto paint = [&](int index, const QColor& rowFace) {
        CellValue cell;
        cell.setKind(CellValue::KindPicture);
        cell.setPicture(document.get(), index);
        QImage image(80, 20, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        CCellDelegate::paintCell(p, QRect(0, 0, 80, 20), cell, 2, 0, false, false, false, rowFace);
        return image;
    };
    const QColor marked(255, 244, 200);
    const QImage withPicture = paint(0, marked);
    EXPECT_EQ(withPicture.pixelColor(40, 4), QColor(Qt::red));
    EXPECT_EQ(withPicture.pixelColor(2, 10), marked) << "a marked row keeps its tint around the picture";

    // The region's cell shows its shape: the filled arm, not the empty corner.
    const QImage withRegion = paint(1, QColor());
    const QColor face = CGuiColors::instance().qcolor(CGuiColors::WindowFace);
    const QColor shade = QColor::fromRgb(CDisplayBuffer::regionFillColor());
    EXPECT_EQ(withRegion.pixelColor(31, 5), shade);
    EXPECT_EQ(withRegion.pixelColor(31, 15), shade);
    EXPECT_EQ(withRegion.pixelColor(48, 15), face);

    // A missing bitmap falls back to the index text on the window face.
    EXPECT_EQ(paint(7, QColor()).pixelColor(40, 1), face);
}
