#pragma once

#include <QMdiSubWindow>

class CMVT_DocumentParameters;
class CMVT_ParametersDocument;
class CMVT_ViewParameters;
class QMdiArea;

// The MDI child frame of a tool window: it takes the tool's caption and
// tells the tool when it becomes the active child.
class CMVT_MDIChildWndParameters : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes ownership of the tool (already create()d).
    explicit CMVT_MDIChildWndParameters(CMVT_ParametersDocument* tool, QWidget* parent = nullptr);

    // Adds a frame for the tool to the area and shows it.
    static CMVT_MDIChildWndParameters* open(QMdiArea* area, CMVT_ParametersDocument* tool);

    CMVT_ParametersDocument* tool() const;
    CMVT_DocumentParameters* document() const { return m_document; }
    CMVT_ViewParameters* view() const { return m_view; }

protected:
    // A running task is stopped and waited for before the window goes.
    void closeEvent(QCloseEvent* event) override;

private:
    CMVT_ViewParameters* m_view;
    CMVT_DocumentParameters* m_document;
};
