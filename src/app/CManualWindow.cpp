#include "app/CManualWindow.h"

#include "tools/analysis/ui/CDocAnalyzeFundamental.h"
#include "tools/bassdrum/ui/CDocGenerateBassDrumTechno1.h"
#include "tools/bitmapcolors/ui/CDocExtractBitmapColors.h"
#include "tools/midi/ui/CDocConvertToMidi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

QString CManualWindow::folder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* relative : {"../share/doc/quillop/manual", "../docs/manual"}) {
        const QString candidate = QDir::cleanPath(program.filePath(QString::fromLatin1(relative)));
        if (QFileInfo(candidate + QStringLiteral("/index.html")).isFile())
            return candidate;
    }
    return {};
}

QString CManualWindow::pageOfTool(const QString& toolTitle)
{
    static const std::pair<const char*, const char*> kTools[] = {
        {CDocAnalyzeFundamental::kTitle, "tools#analyze-fundamental"},
        {CDocConvertToMidi::kTitle, "tools#convert-fundamental-to-midi"},
        {CDocGenerateBassDrumTechno1::kTitle, "tools#generate-bass-drum"},
        {CDocExtractBitmapColors::kTitle, "tools#extract-bitmap-colors"},
    };
    for (const auto& [title, page] : kTools)
        if (toolTitle == QLatin1String(title))
            return QString::fromLatin1(page);
    return QStringLiteral("tools");
}

CManualWindow::CManualWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* bar = new QToolBar(this);
    bar->addAction(tr("Back"), m_browser, &QTextBrowser::backward);
    bar->addAction(tr("Forward"), m_browser, &QTextBrowser::forward);
    bar->addAction(tr("Contents"), this, [this] { showPage(QStringLiteral("index")); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
    // Links to other sites go to the desktop's browser.
    m_browser->setOpenExternalLinks(true);
    resize(900, 700);
}

bool CManualWindow::showPage(const QString& page)
{
    const QString root = folder();
    if (root.isEmpty())
        return false;
    const QString name = page.section(QLatin1Char('#'), 0, 0);
    const QString section = page.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(QDir(root).filePath(name + QStringLiteral(".html")));
    if (!QFileInfo(url.toLocalFile()).isFile())
        url = QUrl::fromLocalFile(QDir(root).filePath(QStringLiteral("index.html")));
    if (!section.isEmpty())
        url.setFragment(section);
    m_browser->setSource(url);
    return true;
}
