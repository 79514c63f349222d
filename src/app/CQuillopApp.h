#pragma once

#include "app/CInterfaceResources.h"
#include "app/CPanelLayoutMemory.h"
#include "app/CRecentFileList.h"

#include <QObject>

#include <memory>

class CAudioPlayer;
class CAudioSettings;
class IPrompter;

// The program-wide state of the editor: the interface resources read at
// start, what the settings keep (recent files, the panels' layout, the
// dialogs' folders), and the sound player.
class CQuillopApp : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Marvoline Quillop";
    static constexpr const char* kOrganisation = "Local AppWizard-Generated Applications";
    static constexpr const char* kUndoLimitKey = "Settings/Undo History MB";
    // Seconds between a change and the document's recovery copy; 0: none.
    static constexpr const char* kRecoveryIntervalKey = "Settings/Recovery Seconds";

    CQuillopApp();
    ~CQuillopApp() override;

    // Names the program to the toolkit and the desktop. The window system
    // adds a display name to every window title; the main frame's title
    // already starts with the program's name, so none is set.
    static void describeApplication();

    // The one application object, or nullptr.
    static CQuillopApp* instance();

    // Reads the interface resource file: on failure the reader's message,
    // then "Cannot start the software due to a missing file.", and 0.
    int loadInterface(const std::string& fileName, IPrompter& prompter);
    CInterfaceResources& interfaceResources() { return m_interface; }

    CRecentFileList& recentFiles() { return m_recent; }
    CPanelLayoutMemory& panelLayout() { return m_panelLayout; }
    void addRecentFile(const QString& path);
    void loadSettings();
    void saveSettings() const;

    // Opens the sound output with the default settings; without a device
    // the editor still runs, silently.
    void startAudio();
    CAudioPlayer* audioPlayer() { return m_player.get(); }
    CAudioSettings* audioSettings() { return m_audioSettings.get(); }
    void stopAllSounds();

private:
    CInterfaceResources m_interface;
    CRecentFileList m_recent;
    CPanelLayoutMemory m_panelLayout;
    std::unique_ptr<CAudioSettings> m_audioSettings;
    std::unique_ptr<CAudioPlayer> m_player;
};
