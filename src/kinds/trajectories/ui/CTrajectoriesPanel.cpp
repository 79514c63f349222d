#include "kinds/trajectories/ui/CTrajectoriesPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/trajectories/CTrajectoryRegion.h"
#include "kinds/trajectories/PlayModes.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/trajectories/ui/CTrajectoryPlayerView.h"
#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "params/ui/CUiServices.h"

#include <QMenu>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
const CellValue::ChoiceList& typeNames()
{
    static const CellValue::ChoiceList names(kTrajectoryTypeTexts.begin(), kTrajectoryTypeTexts.end());
    return names;
}

const CellValue::ChoiceList& playModeNames()
{
    static const CellValue::ChoiceList names(kPlayModeTexts.begin(), kPlayModeTexts.end());
    return names;
}

std::string formatted(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// A value from the list as a choice; one outside it (a file can hold any
// number) as its number, which no edit can store back.
void choiceOrNumber(CellValue& value, const CellValue::ChoiceList& list, int index)
{
    if (index >= 0 && index < static_cast<int>(list.size())) {
        value.assignChoice(&list, index);
    } else {
        value.assignInteger(index);
    }
}

int listedChoice(const CellValue& value, const CellValue::ChoiceList& list)
{
    if (value.kind() != CellValue::KindChoice)
        return -1;
    const int index = value.choice().index;
    return index >= 0 && index < static_cast<int>(list.size()) ? index : -1;
}
} // namespace

CTrajectoriesPanel::CTrajectoriesPanel(QWidget* parent)
    : CTypedItemsGrid(GroupTrajectories,
                      {{"ID", true},
                       {"Type", true},
                       {"Closed Shape", true},
                       {"Play Mode", true},
                       {"Play Speed", true},
                       {"Offset X", true},
                       {"Offset Y", true},
                       {"Specifications", false},
                       {"Comments", true}},
                      parent),
      m_view(new CTrajectoryPlayerView), m_player(m_view->player())
{
    installPanelView(*this, m_view);
    m_player->setPointsAddedCallback([this] {
        // The Specifications cell counts the points.
        refreshRows();
        markModified();
    });
    m_player->strokeStep().setOpener([this] { return history(); }, group(),
                                     [this] { return std::vector<int>{m_player->currentIndex()}; });
}

bool CTrajectoriesPanel::gameStep()
{
    return m_player->step();
}

bool CTrajectoriesPanel::previewPlays() const
{
    return m_player->loaded() && !m_player->isPaused() && m_player->clock().IsPlaying();
}

void CTrajectoriesPanel::loadPlayer(int row)
{
    // Loading restarts the clock: the preview plays again.
    m_player->load(row);
    emit previewChanged();
}

void CTrajectoriesPanel::showStep()
{
    m_player->update();
}

bool CTrajectoriesPanel::fillCell(int column, int item, CellValue& value) const
{
    const Trajectory* record = itemAs<Trajectory>(item);
    if (!record)
        return false;
    switch (column) {
    case ColId:
        value.assignText(record->id());
        return true;
    case ColType:
        choiceOrNumber(value, typeNames(), record->GetType());
        return true;
    case ColClosedShape:
        value.assignYesNo(record->IsClosedShape());
        return true;
    case ColPlayMode:
        choiceOrNumber(value, playModeNames(), record->GetPlayMode());
        return true;
    case ColPlaySpeed:
        value.assignReal(record->GetPlaySpeed() * 100.0);
        return true;
    case ColOffsetX:
        value.assignInteger(record->GetOffsetX());
        return true;
    case ColOffsetY:
        value.assignInteger(record->GetOffsetY());
        return true;
    case ColSpecs:
        value.assignText(record->specsText());
        return true;
    case ColComments:
        value.assignText(record->comments(), CellValue::KindLongText);
        return true;
    default:
        return false;
    }
}

int CTrajectoriesPanel::storeCell(int column, int item, const CellValue& value)
{
    Trajectory* record = itemAs<Trajectory>(item);
    if (!record)
        return 0;
    // The grid holds the panel still (no game step) while it stores.
    bool reloadPlayer = false;
    switch (column) {
    case ColId:
        record->setId(value.text());
        break;
    case ColType: {
        const int type = listedChoice(value, typeNames());
        if (type < 0)
            return 0;
        record->SetType(type);
        break;
    }
    case ColClosedShape:
        record->SetClosedShape(value.yesNo());
        reloadPlayer = true;
        break;
    case ColPlayMode: {
        const int mode = listedChoice(value, playModeNames());
        if (mode < 0)
            return 0;
        record->SetPlayMode(mode);
        reloadPlayer = true;
        break;
    }
    case ColPlaySpeed: {
        const double percent = value.real();
        // "nan" reads as a number but is no speed.
        if (std::isnan(percent))
            return 0;
        record->SetPlaySpeed(std::clamp(percent, -kSpeedPercentLimit, kSpeedPercentLimit) * 0.01);
        reloadPlayer = true;
        break;
    }
    case ColOffsetX:
        record->SetOffsetX(value.integer());
        break;
    case ColOffsetY:
        record->SetOffsetY(value.integer());
        break;
    case ColComments:
        record->setComments(value.text());
        break;
    default:
        return 0;
    }
    if (reloadPlayer && item == m_player->currentIndex())
        loadPlayer(item);
    else
        m_player->update();
    return 1;
}

int CTrajectoriesPanel::copyEditorCell(int column, int to, int from)
{
    Trajectory* target = itemAs<Trajectory>(to);
    const Trajectory* source = itemAs<Trajectory>(from);
    if (!target || !source || to == from || !editorCellEditable(column))
        return 0;
    switch (column) {
    case ColId:
        target->setId(source->id());
        break;
    case ColType:
        target->SetType(source->GetType());
        break;
    case ColClosedShape:
        target->SetClosedShape(source->IsClosedShape());
        break;
    case ColPlayMode:
        target->SetPlayMode(source->GetPlayMode());
        break;
    case ColPlaySpeed:
        target->SetPlaySpeed(source->GetPlaySpeed());
        break;
    case ColOffsetX:
        target->SetOffsetX(source->GetOffsetX());
        break;
    case ColOffsetY:
        target->SetOffsetY(source->GetOffsetY());
        break;
    case ColComments:
        target->setComments(source->comments());
        break;
    default:
        return 0;
    }
    if (to == m_player->currentIndex())
        loadPlayer(to);
    return 1;
}

bool CTrajectoriesPanel::commandsEnabled() const
{
    const Trajectory* record = itemAs<Trajectory>(currentItem());
    return record && record->GetPointCount() > 0;
}

void CTrajectoriesPanel::buildMenu(QMenu& menu, int base)
{
    const bool enabled = commandsEnabled();
    auto add = [&](int entry, const char* label, const char* help) {
        addMenuEntry(menu, base, entry, label, help, enabled);
    };
    add(MenuRemoveAllPoints, "&Remove All Points", "Clear the entire trajectory path !");
    add(MenuResample, "Res&ample Points...", "Resample the trajectory path");
    add(MenuSmooth, "&Smooth Points...", "Smooth the trajectory path");
    add(MenuQuantify, "&Quantify Points...", "Quantify the trajectory path");
    add(MenuAddNoise, "Add &Noise to Points...", "Add noise to the trajectory path");
    menu.addSeparator();
    add(MenuConvertToRegion, "Convert Trajectories to Re&gion", "Convert the selected trajectories to a region");
    menu.addSeparator();
    add(MenuUpdateCenterOfMass, "Update Center of &Mass", "Recalculate the center of mass");
}

bool CTrajectoriesPanel::askReal(const Prompt& prompt, const char* format, double& value)
{
    std::string text = formatted(format, value);
    if (!CUiServices::valuePrompter().promptValue(this, prompt.title, prompt.text, text, false))
        return false;
    double typed = CellValue::readReal(text);
    // No number, and "nan", read as 0 and end at the lower bound.
    if (std::isnan(typed))
        typed = 0.0;
    value = std::clamp(typed, prompt.minimum, prompt.maximum);
    return true;
}

bool CTrajectoriesPanel::askInteger(const Prompt& prompt, int& value)
{
    std::string text = std::to_string(value);
    if (!CUiServices::valuePrompter().promptValue(this, prompt.title, prompt.text, text, false))
        return false;
    value =
        std::clamp(CellValue::readInteger(text), static_cast<int>(prompt.minimum), static_cast<int>(prompt.maximum));
    return true;
}

template <typename Operation> int CTrajectoriesPanel::forEachSelected(Operation operation)
{
    int done = 0;
    {
        CLock lock(*this);
        for (int item : selectionSet(true))
            if (Trajectory* record = itemAs<Trajectory>(item)) {
                operation(*record);
                ++done;
            }
        loadPlayer(currentItem());
    }
    return done > 0 ? 1 : 0;
}

int CTrajectoriesPanel::command(int base, int chosen)
{
    // The same rule as the menu's, so that a command reached another way
    // cannot run where its entry is greyed.
    if (!holder() || !commandsEnabled())
        return 0;
    switch (chosen - base) {
    case MenuRemoveAllPoints:
        return forEachSelected([](Trajectory& t) { t.RemoveAllPoints(); });
    case MenuResample:
        if (!askReal(kResamplePrompt, "%.2f", m_resampleDistance))
            return 0;
        return forEachSelected([d = m_resampleDistance](Trajectory& t) { t.Resample(d); });
    case MenuSmooth:
        if (!askInteger(kSmoothPrompt, m_smoothRange))
            return 0;
        return forEachSelected([r = m_smoothRange](Trajectory& t) { t.Smooth(r); });
    case MenuQuantify:
        if (!askReal(kQuantifyPrompt, "%.3f", m_quantifyGrid))
            return 0;
        return forEachSelected([g = m_quantifyGrid](Trajectory& t) { t.Quantify(g); });
    case MenuAddNoise:
        if (!askReal(kNoisePrompt, "%.4f", m_noiseLevel))
            return 0;
        return forEachSelected([l = m_noiseLevel](Trajectory& t) { t.AddNoise(l); });
    case MenuConvertToRegion:
        return convertToRegion();
    case MenuUpdateCenterOfMass:
        return forEachSelected([](Trajectory& t) { t.UpdateCenterOfMass(); });
    default:
        return 0;
    }
}

int CTrajectoriesPanel::convertToRegion()
{
    CTrajectoryRegion united;
    for (int item : selectionSet(true))
        if (const Trajectory* record = itemAs<Trajectory>(item))
            united.add(*record);
    const int row = holder()->newItem(GroupBitmaps, kRegionId);
    auto* bitmap = dynamic_cast<CBitmapItem*>(holder()->get(GroupBitmaps, row));
    if (!bitmap)
        return 0;
    bitmap->setRegion(united.region());
    bitmap->setComments(united.comments());
    // The Bitmaps panel (and every list of bitmaps) must show the new one.
    if (host())
        host()->broadcastReload();
    return 1;
}

void CTrajectoriesPanel::reloadEditorView()
{
    m_player->attach(holder());
    // The clock restarts only when another trajectory is shown (another row,
    // or another record in the row after a delete, move or swap); edits that
    // change how it plays reload it themselves.
    const Trajectory* shown = itemAs<Trajectory>(currentItem());
    if (m_player->currentIndex() != currentItem() || !shown || m_player->loaded() != shown)
        loadPlayer(currentItem());
    else
        m_player->update();
}

bool CTrajectoriesPanel::check()
{
    if (!checkUniqueIds())
        return false;
    for (int item = 0; item < rowCount(); ++item) {
        const Trajectory* record = itemAs<Trajectory>(item);
        if (!record)
            continue;
        const QString name =
            QStringLiteral("The trajectory \"%1\" (item %2)").arg(QString::fromStdString(record->id())).arg(item);
        if (record->GetType() < 0 || record->GetType() >= static_cast<int>(typeNames().size()))
            return reportFinding(item, QStringLiteral("%1 has the unknown type %2.").arg(name).arg(record->GetType()));
        if (playModeText(record->GetPlayMode()).empty())
            return reportFinding(
                item, QStringLiteral("%1 has the unknown play mode %2.").arg(name).arg(record->GetPlayMode()));
        const int count = record->GetPointCount();
        if (record->IsClosedShape() && count >= 2) {
            const TrajectoryPoint first = record->GetPoint(0);
            const TrajectoryPoint last = record->GetPoint(count - 1);
            if (first.x != last.x || first.y != last.y)
                return reportFinding(
                    item, QStringLiteral("%1 is a closed shape whose last point is not its first point.").arg(name));
        }
        for (int i = 0; i < count; ++i) {
            const TrajectoryPoint p = record->GetPoint(i);
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return reportFinding(item, QStringLiteral("The point %1 of %2 is not a number.")
                                               .arg(i)
                                               .arg(name.at(0).toLower() + name.mid(1)));
        }
    }
    return true;
}
