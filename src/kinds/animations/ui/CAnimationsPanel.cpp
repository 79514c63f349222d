#include "kinds/animations/ui/CAnimationsPanel.h"

#include "grid/ui/CItemsDropTarget.h"

#include "core/CDocumentHistory.h"
#include "core/CItemReferences.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/CSpriteSheet.h"
#include "kinds/texts/CDocumentSettings.h"
#include "params/ui/CUiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CSheetGridDialog.h"
#include "kinds/trajectories/PlayModes.h"

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
} // namespace

CAnimationsPanel::CAnimationsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupAnimations,
                      {{"ID", true}, {"Type", false}, {"Play Mode", true}, {"Specifications", false}, {"Comments", true}},
                      parent),
      m_editor(new CAnimationFrameEditor(stepLock()))
{
    addPanelMenuButton(tr("Sprite Sheet"), [this](QMenu& menu, int base) { buildExchangeMenu(menu, base); });
    installPanelView(*this, m_editor);
    connect(m_editor, &CAnimationFrameEditor::framesChanged, this, [this](int, bool countChanged) {
        // The Specifications cell counts the frames.
        if (countChanged)
            refreshRows();
        markModified();
    });
    m_editor->gestureStep().setOpener([this] { return history(); }, group(),
                                      [this] { return std::vector<int>{m_editor->animationIndex()}; });
    connect(m_editor->dropTarget(), &CItemsDropTarget::bitmapsAdded, this, [this] {
        markModified();
        if (host())
            host()->broadcastReload();
    });
    setItemDrags(true);
    connect(m_editor, &CAnimationFrameEditor::previewPlaysChanged, this, &CItemsGrid::previewChanged);
}

bool CAnimationsPanel::previewPlays() const
{
    return m_editor->previewPlays();
}

bool CAnimationsPanel::fillCell(int column, int item, CellValue& value) const
{
    const CAnimationItem* record = itemAs<CAnimationItem>(item);
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
    CAnimationItem* record = itemAs<CAnimationItem>(item);
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
    // A new current row, or an edit of it (a new play mode): the preview
    // plays it again from its start.
    m_editor->showAnimation(holder(), currentItem());
}

bool CAnimationsPanel::gameStep()
{
    return m_editor->gameStep();
}

void CAnimationsPanel::showStep()
{
    m_editor->showStep();
}

bool CAnimationsPanel::check()
{
    if (!checkUniqueIds())
        return false;
    const std::optional<CDanglingReference> found = holder() ? findDanglingReference(*holder(), group()) : std::nullopt;
    return !found || reportFinding(found->item, QString::fromStdString(found->text));
}

void CAnimationsPanel::buildExchangeMenu(QMenu& menu, int base)
{
    addMenuEntry(menu, base, MenuExportSheet, "&Export to Sprite Sheet...",
                 "Write the current animation as one picture and its JSON description", currentItem() >= 0);
    addMenuEntry(menu, base, MenuImportSheet, "&Import Sprite Sheet...",
                 "Read a sprite sheet (with its JSON description, or cut as a grid) into a new animation", holder() != nullptr);
    menu.addSeparator();
    addMenuEntry(menu, base, MenuExportGif, "Export as Animated &GIF...",
                 "Write the current animation as it plays, as an animated GIF", currentItem() >= 0);
    addMenuEntry(menu, base, MenuExportApng, "Export as Animated &PNG...",
                 "Write the current animation as it plays, as an animated PNG", currentItem() >= 0);
}

int CAnimationsPanel::command(int base, int chosen)
{
    if (!holder())
        return 0;
    const int stepMs = CDocumentSettings(*holder()).timerStepDelay();
    // The description lies beside the sheet, named after it.
    const auto descriptionOf = [](const QString& png) {
        const QFileInfo where(png);
        return where.dir().filePath(where.completeBaseName() + QStringLiteral(".json"));
    };
    if (chosen - base == MenuExportSheet && currentItem() >= 0) {
        const QString png = chooseExchangeFile("Export to Sprite Sheet", kSheetFilter, true,
                                               holder()->get(GroupAnimations, currentItem())->id() + ".png");
        if (!png.isEmpty()) {
            const auto written = CSpriteSheet::write(*holder(), currentItem(), png, descriptionOf(png), stepMs);
            reportExchange(written.error, png.toStdString() + " and its .json written, " +
                                              std::to_string(written.frames) + " frames");
        }
        return 0;  // the document did not change
    }
    if ((chosen - base == MenuExportGif || chosen - base == MenuExportApng) && currentItem() >= 0) {
        const bool gif = chosen - base == MenuExportGif;
        const QString file = chooseExchangeFile(gif ? "Export as Animated GIF" : "Export as Animated PNG",
                                                gif ? kGifFilter : kApngFilter, true,
                                                holder()->get(GroupAnimations, currentItem())->id() + (gif ? ".gif" : ".png"));
        if (!file.isEmpty()) {
            const auto written = CSpriteSheet::writeAnimated(
                *holder(), currentItem(), file, gif ? CAnimatedPictureWriter::Format::Gif : CAnimatedPictureWriter::Format::Apng,
                stepMs);
            reportExchange(written.error, file.toStdString() + " written, " + std::to_string(written.frames) + " frames");
        }
        return 0;  // the document did not change
    }
    if (chosen - base == MenuImportSheet) {
        const QString png = chooseExchangeFile("Import Sprite Sheet", kSheetFilter, false);
        if (png.isEmpty())
            return 0;
        // Without a description beside it, the sheet is cut as a grid the
        // user describes.
        std::optional<CSpriteSheet::Grid> grid;
        if (!QFileInfo::exists(descriptionOf(png))) {
            grid = CSheetGridDialog::ask(QFileInfo(png).fileName(), QImageReader(png).size(), this);
            if (!grid)
                return 0;
        }
        CSpriteSheet::Read read;
        {
            CLock lock(*this);
            read = grid ? CSpriteSheet::readGrid(*holder(), png, *grid, stepMs)
                        : CSpriteSheet::readJson(*holder(), png, descriptionOf(png), stepMs);
        }
        if (!reportExchange(read.error, std::to_string(read.bitmapsAdded) + " bitmaps added, " +
                                            std::to_string(read.bitmapsReused) + " reused"))
            return 0;
        showImported(read.animationRow);
        return 1;
    }
    return 0;
}
