#include "core/CDocumentHistory.h"

#include "core/CEditRecorder.h"
#include "core/CEditStep.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"

#include <QUndoStack>

#include <array>
#include <utility>

// One step on the stack. The edit already happened when it is pushed, so
// the stack's first redo does nothing.
class CEditCommand : public QUndoCommand {
public:
    CEditCommand(CDocumentHistory& history, const QString& text, std::shared_ptr<CEditStep> step)
        : QUndoCommand(text), m_history(history), m_step(std::move(step))
    {
    }

    void undo() override
    {
        m_history.runApplied([this] { m_step->undo(m_history.holder()); });
    }
    void redo() override
    {
        if (m_pushed)
            m_history.runApplied([this] { m_step->redo(m_history.holder()); });
        m_pushed = true;
    }

    const std::shared_ptr<CEditStep>& step() const { return m_step; }

private:
    CDocumentHistory& m_history;
    std::shared_ptr<CEditStep> m_step;
    bool m_pushed = false;
};

namespace {
std::int64_t& defaultLimit()
{
    static std::int64_t limit = CDocumentHistory::kDefaultLimitBytes;
    return limit;
}
} // namespace

void CDocumentHistory::setDefaultLimitBytes(std::int64_t bytes) { defaultLimit() = bytes; }

std::int64_t CDocumentHistory::defaultLimitBytes() { return defaultLimit(); }

CDocumentHistory::CDocumentHistory(CResourceHolder& holder, QObject* parent)
    : QObject(parent), m_holder(holder), m_stack(new QUndoStack(this)), m_limit(defaultLimit())
{
}

CDocumentHistory::~CDocumentHistory()
{
    if (m_holder.editRecorder() == m_recorder)
        m_holder.setEditRecorder(nullptr);
}

void CDocumentHistory::setLimitBytes(std::int64_t bytes)
{
    m_limit = bytes;
    keepWithinLimit();
}

std::int64_t CDocumentHistory::usedBytes() const
{
    std::int64_t used = 0;
    for (int i = 0; i < m_stack->count(); ++i)
        if (const auto* command = dynamic_cast<const CEditCommand*>(m_stack->command(i)))
            used += command->step()->cost();
    return used;
}

const CEditStep* CDocumentHistory::step(int index) const
{
    const auto* command = dynamic_cast<const CEditCommand*>(m_stack->command(index));
    return command ? command->step().get() : nullptr;
}

QString CDocumentHistory::rowsText(int group, int count)
{
    static constexpr std::array<const char*, kGroupCount> singular = {
        "Text",  "Bitmap", "Sound",       "Animation",      "Trajectory",
        "Map",   "Color",  "Binary File", "User Interface", "Game World",
    };
    static constexpr std::array<const char*, kGroupCount> plural = {
        "Texts", "Bitmaps", "Sounds",       "Animations",      "Trajectories",
        "Maps",  "Colors",  "Binary Files", "User Interfaces", "Game Worlds",
    };
    if (group < 0 || group >= kGroupCount)
        return count == 1 ? QStringLiteral("Item") : QStringLiteral("%1 Items").arg(count);
    const auto g = static_cast<std::size_t>(group);
    return count == 1 ? QString::fromLatin1(singular[g]) : QStringLiteral("%1 %2").arg(count).arg(QLatin1String(plural[g]));
}

void CDocumentHistory::clear() { m_stack->clear(); }

void CDocumentHistory::push(const QString& text, std::unique_ptr<CEditStep> step)
{
    if (!step || step->isEmpty())
        return;
    m_stack->push(new CEditCommand(*this, text, std::shared_ptr<CEditStep>(std::move(step))));
    keepWithinLimit();
}

void CDocumentHistory::runApplied(const std::function<void()>& apply)
{
    if (m_wrapper)
        m_wrapper(apply);
    else
        apply();
    emit applied();
}

void CDocumentHistory::keepWithinLimit()
{
    std::int64_t used = usedBytes();
    const int count = m_stack->count();
    // With steps undone above the current one, the next edit drops those
    // first; the limit is kept then.
    if (used <= m_limit || count <= 1 || m_stack->index() != count)
        return;
    // QUndoStack drops nothing from its bottom once steps are on it, so the
    // steps that stay are pushed again on an empty stack (without being
    // applied again). Going down to three quarters of the limit keeps this
    // rare.
    struct Kept {
        QString text;
        std::shared_ptr<CEditStep> step;
    };
    std::vector<Kept> kept;
    for (int i = 0; i < count; ++i) {
        const auto* command = static_cast<const CEditCommand*>(m_stack->command(i));
        kept.push_back({command->text(), command->step()});
    }
    const int clean = m_stack->cleanIndex();
    int dropped = 0;
    while (dropped < count - 1 && used > m_limit / 4 * 3) {
        used -= kept[static_cast<std::size_t>(dropped)].step->cost();
        ++dropped;
    }
    m_stack->clear();
    for (int i = dropped; i < count; ++i) {
        if (i == clean)
            m_stack->setClean();
        m_stack->push(new CEditCommand(*this, kept[static_cast<std::size_t>(i)].text,
                                       std::move(kept[static_cast<std::size_t>(i)].step)));
    }
    if (clean == count)
        m_stack->setClean();
    else if (clean < dropped)
        m_stack->resetClean();
}

CDocumentHistory::Edit::Edit(CDocumentHistory* history, QString text) : m_history(history), m_text(std::move(text))
{
    if (!m_history)
        return;
    if (m_history->m_recorder) {
        m_recorder = m_history->m_recorder;
        return;
    }
    m_owned = std::make_unique<CEditRecorder>(m_history->m_holder);
    m_recorder = m_owned.get();
    m_history->m_recorder = m_recorder;
}

CDocumentHistory::Edit::~Edit()
{
    if (!m_owned)
        return;
    m_history->m_recorder = nullptr;
    m_history->push(m_text, m_owned->finish());
}

void CDocumentHistory::Edit::touchRow(int group, int row)
{
    if (m_recorder)
        m_recorder->touchRow(group, row);
}

void CDocumentHistory::Edit::touchRows(int group, const std::vector<int>& rows)
{
    for (int row : rows)
        touchRow(group, row);
}

void CDocumentHistory::Edit::touchGroup(int group)
{
    if (m_recorder)
        m_recorder->touchGroup(group);
}

void CDocumentHistory::Edit::touchHeader()
{
    if (m_recorder)
        m_recorder->touchHeader();
}
