#include "kinds/animations/ui/CAnimationsPanel.h"

#include "core/CItemReferences.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/animations/CAnimationFrameTexts.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/trajectories/PlayModes.h"

#include <QLabel>

namespace {
const CellValue::ChoiceList& typeNames()
{
    static const CellValue::ChoiceList names{CAnimationItem::typeText(CAnimationItem::kTypeBitmaps)};
    return names;
}

const CellValue::ChoiceList& playModeNames()
{
    static const CellValue::ChoiceList names(kPlayModeTexts.begin(), kPlayModeTexts.end());
    return names;
}

// Enough rows to see what an animation is made of without building a page
// of thousands of lines for a long one.
constexpr int kFramesShown = 200;
} // namespace

CAnimationsPanel::CAnimationsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupAnimations,
                      {{"ID", true}, {"Type", false}, {"Play Mode", true}, {"Specifications", false}, {"Comments", true}},
                      parent)
{
}

CAnimationItem* CAnimationsPanel::animation(int item) const
{
    return holder() ? dynamic_cast<CAnimationItem*>(holder()->get(GroupAnimations, item)) : nullptr;
}

bool CAnimationsPanel::fillCell(int column, int item, CellValue& value) const
{
    const CAnimationItem* record = animation(item);
    if (!record)
        return false;
    switch (column) {
    case ColId:
        value.assignText(record->id());
        return true;
    case ColType:
        // "Bitmaps" is the only type there is to show.
        value.assignChoice(&typeNames(), 0);
        return true;
    case ColPlayMode:
        value.assignChoice(&playModeNames(), record->playMode());
        return true;
    case ColSpecs:
        value.assignText(record->specsText());
        return true;
    case ColComments:
        value.assignText(record->comments());
        return true;
    default: return false;
    }
}

int CAnimationsPanel::storeCell(int column, int item, const CellValue& value)
{
    CAnimationItem* record = animation(item);
    if (!record)
        return 0;
    switch (column) {
    case ColId: record->setId(value.text()); return 1;
    case ColPlayMode: {
        const int mode = value.integer();
        if (mode < 0 || mode >= kPlayModeCount)
            return 0;
        record->setPlayMode(mode);
        return 1;
    }
    case ColComments: record->setComments(value.text()); return 1;
    default: return 0;
    }
}

void CAnimationsPanel::reloadEditorView()
{
    QLabel* view = editorView();
    const CAnimationItem* record = animation(currentItem());
    if (!record || !holder()) {
        view->setText(tr("<i>No item</i>"));
        return;
    }
    QString text = QStringLiteral("<h3>%1</h3><p>%2 &mdash; %3 &mdash; %4</p><pre>")
                       .arg(QString::fromStdString(record->id()).toHtmlEscaped(),
                            QString::fromLatin1(CAnimationItem::typeText(record->animationType())),
                            QString::fromUtf8(playModeText(record->playMode()).data(),
                                              static_cast<int>(playModeText(record->playMode()).size())),
                            QString::fromStdString(record->specsText()));
    const int shown = std::min(record->frameCount(), kFramesShown);
    for (int i = 0; i < shown; ++i)
        text += QString::fromStdString(CAnimationFrameTexts::frameRow(*holder(), *record, i)).toHtmlEscaped()
                + QLatin1Char('\n');
    if (shown < record->frameCount())
        text += QStringLiteral("...\n");
    text += QStringLiteral("</pre>");
    view->setText(text);
}

bool CAnimationsPanel::check()
{
    if (!checkUniqueIds())
        return false;
    const std::optional<CDanglingReference> found = holder() ? findDanglingReference(*holder(), group()) : std::nullopt;
    return !found || reportFinding(found->item, QString::fromStdString(found->text));
}
