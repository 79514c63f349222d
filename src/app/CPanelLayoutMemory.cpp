#include "app/CPanelLayoutMemory.h"

#include "core/GroupIndex.h"
#include "document/CQuillopView.h"
#include "grid/ui/CItemsGrid.h"

#include <QEvent>
#include <QSettings>
#include <QSplitter>

#include <algorithm>

namespace {
constexpr int kWhole = 1000;

bool validPanel(int panel) { return panel >= 0 && panel < CPanelLayoutMemory::kPanels; }

// Keeps a remembered split in proportion until the user moves it: sizes
// given to a splitter before it is laid out are not kept, and a panel first
// shown is resized from a stale size to its real one, which would give all
// the growth to the grid.
class CPendingSplit : public QObject {
public:
    CPendingSplit(QSplitter& split, int share) : QObject(&split), m_split(split), m_share(share)
    {
        split.installEventFilter(this);
        QObject::connect(&split, &QSplitter::splitterMoved, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const int whole = m_split.width() - m_split.handleWidth();
        if ((event->type() == QEvent::Resize || event->type() == QEvent::Show) && whole > 0)
            m_split.setSizes({whole * m_share / kWhole, whole - whole * m_share / kWhole});
        return false;
    }

private:
    QSplitter& m_split;
    int m_share;
};
} // namespace

void CPanelLayoutMemory::load(QSettings& settings)
{
    const int panel = settings.value(QString::fromLatin1(kPanelKey), 0).toInt();
    m_lastPanel = validPanel(panel) ? panel : 0;
    for (int i = 0; i < kPanels; ++i) {
        const int share = settings.value(QString::fromLatin1(kSplitKey).arg(i), 0).toInt();
        m_gridShare[static_cast<std::size_t>(i)] = share > 0 && share < kWhole ? share : 0;
    }
}

void CPanelLayoutMemory::save(QSettings& settings) const
{
    settings.setValue(QString::fromLatin1(kPanelKey), m_lastPanel);
    for (int i = 0; i < kPanels; ++i)
        if (const int share = m_gridShare[static_cast<std::size_t>(i)])
            settings.setValue(QString::fromLatin1(kSplitKey).arg(i), share);
}

int CPanelLayoutMemory::defaultGridShare(int panel)
{
    // The frame editor's three panes (picker, frame list, preview), the map
    // editor's picker, tool bar and canvas, and the world's elements grid
    // above its preview need more room than the grid's few columns; the
    // grid's columns would take nearly all the width from the trajectory
    // player, which gets half. The other panels keep their split.
    if (panel == CQuillopView::panelOfGroup(GroupAnimations) || panel == CQuillopView::panelOfGroup(GroupMaps))
        return 350;
    if (panel == CQuillopView::panelOfGroup(GroupTrajectories))
        return 500;
    if (panel == CQuillopView::panelOfGroup(GroupWorlds))
        return 450;
    return 0;
}

int CPanelLayoutMemory::gridShare(int panel) const
{
    return validPanel(panel) ? m_gridShare[static_cast<std::size_t>(panel)] : 0;
}

void CPanelLayoutMemory::follow(CQuillopView& view)
{
    for (int i = 0; i < kPanels; ++i) {
        QSplitter* split = view.panel(i) ? view.panel(i)->splitter() : nullptr;
        if (!split || split->count() != 2)
            continue;
        if (const int share = gridShare(i) ? gridShare(i) : defaultGridShare(i))
            new CPendingSplit(*split, share);
        QObject::connect(split, &QSplitter::splitterMoved, split, [this, split, i] {
            const QList<int> sizes = split->sizes();
            const int whole = sizes.value(0) + sizes.value(1);
            if (whole > 0)
                m_gridShare[static_cast<std::size_t>(i)] = std::clamp(sizes.value(0) * kWhole / whole, 1, kWhole - 1);
        });
    }
    // The first document of a run takes up where the last run left off;
    // later ones start at their first panel.
    if (!m_restored)
        view.showPanel(m_lastPanel, false);
    m_restored = true;
    QObject::connect(&view, &CQuillopView::currentPanelChanged, &view, [this](int panel) {
        if (validPanel(panel))
            m_lastPanel = panel;
    });
}
