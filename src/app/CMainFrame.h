#pragma once

#include <QMainWindow>

class QMdiArea;

// The editor's main window: an MDI area holding one child frame per open
// document or tool window.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Marvoline Quillop";

    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }

private:
    QMdiArea* m_mdi;
};
