#pragma once

#include "media/output/CAudioSettings.h"

#include <QDialog>

#include <string>
#include <vector>

class CAudioPlayer;
class QComboBox;
class QLabel;
class QLineEdit;

// The Audio Settings dialog. It edits a copy of the settings: a field
// holding anything but an accepted value leaves the copy as it was (and
// shows the kept value again when the field is left), and the latency line
// follows every accepted change. OK stops all sound and starts the audio
// again with the new settings.
class CAudioSettingsDialog : public QDialog {
public:
    // `deviceNames` are the output devices by index; the default device
    // comes first in the list whatever they are.
    CAudioSettingsDialog(const CAudioSettings& settings, CAudioPlayer& player,
                         const std::vector<std::string>& deviceNames, QWidget* parent = nullptr);

    const CAudioSettings& settings() const { return m_settings; }
    void accept() override;

    // Shows the dialog for the sound card's devices; on OK `settings` takes
    // the new values and the player starts again with them. 1 on OK.
    static int edit(QWidget* parent, CAudioSettings& settings, CAudioPlayer& player);

private:
    void showLatency();

    CAudioSettings m_settings;
    CAudioPlayer& m_player;
    QLineEdit* m_buffers;
    QComboBox* m_frequency;
    QComboBox* m_device;
    QLineEdit* m_length;
    QLabel* m_latency;
};
