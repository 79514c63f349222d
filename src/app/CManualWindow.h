#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QTextBrowser;

// The user manual (HTML made from docs/manual at build time), shown in a
// window of its own so that it works without a browser and follows the
// editor's look. One window serves every F1: it only turns the page.
class CManualWindow : public QWidget {
    Q_OBJECT
public:
    // The manual's page of each group, in group order.
    static constexpr std::array<const char*, 10> kGroupPages = {
        "texts", "bitmaps", "sounds", "animations", "trajectories",
        "maps", "colors", "binary-files", "user-interfaces", "worlds"};
    static constexpr const char* kTitle = "Quillop Manual";

    // The folder holding index.html: installed beside the program's share
    // folder, or built beside it in the build tree. Empty when neither is.
    static QString folder();
    // The page (and section) that explains a tool window, by its title.
    static QString pageOfTool(const QString& toolTitle);

    explicit CManualWindow(QWidget* parent = nullptr);
    // Shows "page" or "page#section"; false when the manual is not there.
    bool showPage(const QString& page);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
