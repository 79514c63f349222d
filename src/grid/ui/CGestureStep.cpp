#include "grid/ui/CGestureStep.h"

void CGestureStep::setOpener(History history, int group, Rows rows)
{
    m_open = [history = std::move(history), group, rows = std::move(rows)](const QString& text) {
        auto edit = std::make_unique<CDocumentHistory::Edit>(history(), text);
        edit->touchRows(group, rows());
        return edit;
    };
}

std::unique_ptr<CDocumentHistory::Edit> CGestureStep::open(const QString& text) const
{
    return m_open ? m_open(text) : nullptr;
}

void CGestureStep::begin(const QString& text)
{
    if (!m_edit)
        m_edit = open(text);
}

void CGestureStep::end(const std::function<void()>& tell)
{
    if (tell)
        tell();
    m_edit.reset();
}
