#include "kinds/sounds/ui/CSoundsPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/RowOrder.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/CTypedCellColumn.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/sounds/ui/CSoundView.h"
#include "media/output/CAudioPlayer.h"
#include "params/ui/CUiServices.h"

#include <QHeaderView>
#include <QTimer>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {
// The Specifications cell: the text over the sound's waveform or summary.
class CSoundSpecsDelegate : public QStyledItemDelegate {
public:
    explicit CSoundSpecsDelegate(CSoundsPanel& panel) : QStyledItemDelegate(panel.table()), m_panel(panel) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const CMVT_WavMemory* sound = m_panel.itemAs<CMVT_WavMemory>(index.row());
        if (!sound) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->fillRect(option.rect, option.palette.base());
        CSoundView::paintSound(*painter, option.rect.adjusted(1, 1, -1, -1), *sound, m_panel.swapChannels());
        // On a veil over the waveform, so that the text reads whatever is
        // drawn under it; cut with "…" when the column is narrower (the
        // cell's tooltip has it whole).
        const QRect textArea = option.rect.adjusted(4, 2, -4, -2);
        const QString text = option.fontMetrics.elidedText(QString::fromStdString(sound->specsText()), Qt::ElideRight,
                                                           textArea.width());
        QColor veil = option.palette.color(QPalette::Base);
        veil.setAlpha(210);
        painter->fillRect(painter->boundingRect(textArea, Qt::AlignLeft | Qt::AlignTop, text).adjusted(-2, 0, 2, 0),
                          veil);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(textArea, Qt::AlignLeft | Qt::AlignTop, text);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        }
    }

private:
    CSoundsPanel& m_panel;
};

int stateOfLabel(const QString& text)
{
    const auto& labels = CSoundsPanel::playLabels();
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (text.toStdString() == labels[i])
            return static_cast<int>(i);
    return -1;
}
} // namespace

const CellValue::ChoiceList& CSoundsPanel::playLabels()
{
    static const CellValue::ChoiceList labels(std::begin(CAudioPlayer::kStateLabels),
                                              std::end(CAudioPlayer::kStateLabels));
    return labels;
}

CSoundsPanel::CSoundsPanel(QWidget* parent) : CItemsGrid(GroupSounds, parent), m_view(new CSoundView)
{
    m_playColumn = new CTypedCellColumn(*this, ColPlay, [this](int item, CellValue& value) {
        value.setKind(CellValue::KindChoice);
        value.setEditable(true);
        const CAudioPlayer* player = audioPlayer();
        const CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(item);
        value.setChoice(&playLabels(), player && sound ? player->state(sound) : CAudioPlayer::Stopped);
    });
    table()->setItemDelegateForColumn(ColSpecs + kLeadingColumns, new CSoundSpecsDelegate(*this));
    table()->verticalHeader()->setDefaultSectionSize(kRowHeight);
    installPanelView(*this, m_view);
    // The player runs on this thread; polling it here keeps the cells in step
    // without the game step's thread ever touching the mixer.
    m_playStateWatch = new QTimer(this);
    m_playStateWatch->setInterval(kPlayStateWatchMs);
    connect(m_playStateWatch, &QTimer::timeout, this, &CSoundsPanel::followPlayStates);
}

void CSoundsPanel::activate() { m_playStateWatch->start(); }

void CSoundsPanel::deactivate() { m_playStateWatch->stop(); }

bool CSoundsPanel::followPlayStates()
{
    const CAudioPlayer* player = audioPlayer();
    std::vector<int> states(static_cast<std::size_t>(rowCount()), CAudioPlayer::Stopped);
    for (int item = 0; item < rowCount(); ++item)
        if (const CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(item); player && sound)
            states[static_cast<std::size_t>(item)] = player->state(sound);
    if (states == m_shownStates)
        return false;
    m_shownStates = std::move(states);
    table()->viewport()->update();
    return true;
}

CAudioPlayer* CSoundsPanel::audioPlayer() const
{
    if (m_player)
        return m_player;
    return CUiServices::audioPlayer();
}

QString CSoundsPanel::editorHeader(int column) const
{
    switch (column) {
    case ColId: return QStringLiteral("ID");
    case ColPlay: return QStringLiteral("Play");
    case ColSpecs: return QStringLiteral("Specifications");
    case ColComments: return QStringLiteral("Comments");
    default: return {};
    }
}

QString CSoundsPanel::editorCellText(int column, int item) const
{
    const CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(item);
    if (!sound)
        return {};
    switch (column) {
    case ColId: return QString::fromStdString(sound->id());
    case ColPlay: return QString::fromStdString(m_playColumn->valueOf(item).displayText(0, 0));
    case ColSpecs: return QString::fromStdString(sound->specsText());
    case ColComments: return QString::fromStdString(sound->comments());
    default: return {};
    }
}

bool CSoundsPanel::editorCellEditable(int column) const
{
    return column == ColId || column == ColPlay || column == ColComments;
}

int CSoundsPanel::setEditorCell(int column, int item, const QString& text)
{
    CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(item);
    if (!sound)
        return 0;
    switch (column) {
    case ColId: sound->setId(text.toStdString()); return 1;
    case ColComments: sound->setComments(text.toStdString()); return 1;
    case ColPlay: {
        // Pasting a Play cell passes its label on: the other row's sound
        // then starts (or stops) the same way.
        const int state = stateOfLabel(text);
        CAudioPlayer* player = audioPlayer();
        if (state < 0 || !player)
            return 0;
        player->setState(sound, static_cast<CAudioPlayer::State>(state));
        return 1;
    }
    default: return 0;
    }
}

bool CSoundsPanel::sortRank(int gridColumn, int item, double& rank) const
{
    // The Play cell is a choice: it sorts by its state (stopped, playing,
    // looping), as every choice cell does, not by the label's letters.
    if (gridColumn == ColPlay + kLeadingColumns && itemAs<CMVT_WavMemory>(item)) {
        rank = m_playColumn->valueOf(item).integer();
        return true;
    }
    return CItemsGrid::sortRank(gridColumn, item, rank);
}

int CSoundsPanel::insertSounds(const std::vector<std::string>& paths)
{
    if (!holder())
        return -1;
    int last = -1;
    for (const std::string& path : paths) {
        const int index = holder()->newItem(GroupSounds, CMVT_WavMemory::idFromPath(path));
        CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(index);
        if (sound && sound->loadFromFile(path)) {
            last = index;
            continue;
        }
        holder()->remove(GroupSounds, index);
    }
    return last;
}

int CSoundsPanel::newItem()
{
    IFileChooser::Request request;
    request.title = kInsertTitle;
    request.filter = kSoundsFilter;
    request.multiple = true;
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    return paths.empty() ? -1 : insertSounds(paths);
}

int CSoundsPanel::deleteItem(int item)
{
    // A looping voice would otherwise go on with no row left to stop it
    // from, and the player would take a later item at the same address for
    // the one it is playing.
    CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(item);
    CAudioPlayer* player = audioPlayer();
    if (sound && player)
        player->stop(sound);
    return CItemsGrid::deleteItem(item);
}

int CSoundsPanel::rearrangeItems(const std::vector<int>& order)
{
    // Deleted rows stop sounding first, as with deleteItem.
    if (CAudioPlayer* player = audioPlayer()) {
        const std::vector<int> newRows = RowOrder::newRowOfOld(order, rowCount());
        for (std::size_t row = 0; row < newRows.size(); ++row)
            if (newRows[row] < 0)
                if (CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(static_cast<int>(row)))
                    player->stop(sound);
    }
    return CItemsGrid::rearrangeItems(order);
}

int CSoundsPanel::dropFile(const QString& path) { return insertSounds({path.toStdString()}) >= 0 ? 1 : 0; }

int CSoundsPanel::loadIntoCurrent()
{
    CMVT_WavMemory* sound = itemAs<CMVT_WavMemory>(currentItem());
    if (!sound)
        return 0;
    IFileChooser::Request request;
    request.title = kLoadTitle;
    request.filter = kSoundsFilter;
    request.startName = "";
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    if (paths.empty())
        return 0;
    // A load clears the item before reading: try the file on a scratch item
    // first so that a file that cannot be read costs the user nothing.
    const auto scratch = sound->createDefault();
    auto* trial = dynamic_cast<CMVT_WavMemory*>(scratch.get());
    if (!trial || !trial->loadFromFile(paths.front()))
        return 0;
    if (CAudioPlayer* player = audioPlayer())
        player->stop(sound);
    CLock lock(*this);
    return sound->reloadFromFile(paths.front());
}

void CSoundsPanel::toggleSwapChannels()
{
    m_swapChannels = !m_swapChannels;
    table()->viewport()->update();
    reloadEditorView();
}

void CSoundsPanel::buildMenu(QMenu& menu, int base)
{
    QAction* load = menu.addAction(QString::fromLatin1(kLoadEntry));
    load->setData(base + EntryLoad);
    load->setStatusTip(QString::fromLatin1(kLoadHelp));
    load->setToolTip(QString::fromLatin1(kLoadHelp));
    load->setEnabled(itemAs<CMVT_WavMemory>(currentItem()) != nullptr);
    QAction* swap = menu.addAction(QString::fromLatin1(kSwapEntry));
    swap->setData(base + EntrySwapChannels);
    swap->setStatusTip(QString::fromLatin1(kSwapHelp));
    swap->setToolTip(QString::fromLatin1(kSwapHelp));
}

int CSoundsPanel::command(int base, int chosen)
{
    switch (chosen - base) {
    case EntryLoad: return loadIntoCurrent();
    // A display choice, not a change of the document.
    case EntrySwapChannels: toggleSwapChannels(); return 0;
    default: return 0;
    }
}

void CSoundsPanel::reloadEditorView() { m_view->setSound(itemAs<CMVT_WavMemory>(currentItem()), m_swapChannels); }
