#pragma once

#include <QMdiSubWindow>

class CQuillopDoc;
class CQuillopView;

// The MDI window of one resource document: it owns the document and its
// view, shows the document's title, and asks before a modified document
// closes.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes ownership of the document.
    explicit CChildFrame(CQuillopDoc* document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CQuillopDoc& document() const { return *m_document; }
    CQuillopView& view() const { return *m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CQuillopDoc* m_document;
    CQuillopView* m_view;
};
