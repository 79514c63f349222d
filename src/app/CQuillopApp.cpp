#include "app/CQuillopApp.h"

#include "core/IPrompter.h"
#include "params/CDialogFolders.h"
#include "media/output/CAudioPlayer.h"
#include "core/CDocumentHistory.h"
#include "document/CRecoveryStore.h"
#include "media/output/CAudioSettings.h"
#include "params/ui/CProgressWindow.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>

namespace {
CQuillopApp* g_app = nullptr;
} // namespace

CQuillopApp::CQuillopApp() : m_audioSettings(std::make_unique<CAudioSettings>())
{
    g_app = this;
    CUiServices::setToolBarIcons([this](const std::string& id) { return m_interface.icon(id); });
}

CQuillopApp::~CQuillopApp()
{
    stopAllSounds();
    if (CUiServices::audioPlayer() == m_player.get())
        CUiServices::setAudioPlayer(nullptr);
    m_player.reset();
    CProgressWindow::setDefaultPictures({});
    m_interface.clear();
    if (g_app == this) {
        g_app = nullptr;
        CUiServices::setToolBarIcons({});
    }
}

CQuillopApp* CQuillopApp::instance() { return g_app; }

void CQuillopApp::describeApplication()
{
    QApplication::setOrganizationName(QString::fromLatin1(kOrganisation));
    QApplication::setApplicationName(QStringLiteral("Quillop"));
    CUiServices::setMessageTitle(QString::fromLatin1(kTitle));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillop"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quillop")));
}

int CQuillopApp::loadInterface(const std::string& fileName, IPrompter& prompter)
{
    if (m_interface.load(fileName, prompter)) {
        // The progress windows of the tools draw their buttons and their
        // working animation from the interface pictures.
        CProgressWindow::setDefaultPictures(
            [this](const std::string& id) { return m_interface.picture(m_interface.bitmapIndex(id)); });
        return 1;
    }
    prompter.tell(CInterfaceResources::kMissingFile, IPrompter::Icon::Stop);
    return 0;
}

void CQuillopApp::addRecentFile(const QString& path)
{
    m_recent.add(path);
    saveSettings();
}

void CQuillopApp::loadSettings()
{
    QSettings settings(QString::fromLatin1(kOrganisation), QStringLiteral("Quillop"));
    m_recent.load(settings);
    // How much each document's undo history may hold, in megabytes.
    const qlonglong megabytes =
        settings.value(QString::fromLatin1(kUndoLimitKey), qlonglong(CDocumentHistory::kDefaultLimitBytes >> 20)).toLongLong();
    if (megabytes > 0)
        CDocumentHistory::setDefaultLimitBytes(std::int64_t(megabytes) << 20);
    m_panelLayout.load(settings);
    CUiServices::dialogFolders().load(settings);
    CRecoveryStore::setIntervalSeconds(
        settings.value(QString::fromLatin1(kRecoveryIntervalKey), CRecoveryStore::kDefaultIntervalSeconds).toInt());
}

void CQuillopApp::saveSettings() const
{
    QSettings settings(QString::fromLatin1(kOrganisation), QStringLiteral("Quillop"));
    m_recent.save(settings);
    m_panelLayout.save(settings);
    CUiServices::dialogFolders().save(settings);
}

void CQuillopApp::startAudio()
{
    if (!m_player)
        m_player = std::make_unique<CAudioPlayer>();
    m_player->initialise(*m_audioSettings);
    m_player->setOutputFailureNotice([](const std::string& text) { CUiServices::showStatus(text); });
    CUiServices::setAudioPlayer(m_player.get());
}

void CQuillopApp::stopAllSounds()
{
    if (m_player)
        m_player->stopAll();
}
