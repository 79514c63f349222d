#pragma once

#include <QPointer>
#include <QWidget>

class CDocumentHistory;
class QLabel;
class QUndoView;

// The steps of a document's history in a window of its own: choosing a step
// undoes or redoes up to it. It says how much the history may hold and how
// much it holds now.
class CEditHistoryWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Edit History";
    static constexpr const char* kNoChanges = "<no changes>";
    static constexpr const char* kLimitText =
        "The history keeps changes up to %1 MB; beyond that the oldest are forgotten. Held now: %2.";
    static constexpr const char* kNoDocument = "No resource document is active.";

    explicit CEditHistoryWindow(QWidget* parent = nullptr);

    // Null when no resource document is active.
    void showHistory(CDocumentHistory* history);
    QUndoView* view() const { return m_view; }
    QString limitText() const;

private:
    void updateLimitText();

    QPointer<CDocumentHistory> m_history;
    QUndoView* m_view;
    QLabel* m_limit;
};
