#include "app/CEditHistoryWindow.h"

#include "core/CDocumentHistory.h"

#include <QLabel>
#include <QLocale>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

CEditHistoryWindow::CEditHistoryWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), m_view(new QUndoView), m_limit(new QLabel)
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setObjectName(QStringLiteral("editHistory"));
    m_view->setEmptyLabel(QString::fromLatin1(kNoChanges));
    m_limit->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_limit);
    resize(360, 420);
}

void CEditHistoryWindow::showHistory(CDocumentHistory* history)
{
    if (m_history)
        disconnect(&m_history->stack(), nullptr, this, nullptr);
    m_history = history;
    m_view->setStack(history ? &history->stack() : nullptr);
    if (history)
        connect(&history->stack(), &QUndoStack::indexChanged, this, &CEditHistoryWindow::updateLimitText);
    updateLimitText();
}

QString CEditHistoryWindow::limitText() const { return m_limit->text(); }

void CEditHistoryWindow::updateLimitText()
{
    if (!m_history) {
        m_limit->setText(QString::fromLatin1(kNoDocument));
        return;
    }
    constexpr double mega = 1024.0 * 1024.0;
    // A few edits hold kilobytes: "0.0 MB" would say nothing.
    m_limit->setText(QString::fromLatin1(kLimitText)
                         .arg(QString::number(static_cast<double>(m_history->limitBytes()) / mega, 'f', 0),
                              QLocale::c().formattedDataSize(m_history->usedBytes(), 1, QLocale::DataSizeTraditionalFormat)));
}
