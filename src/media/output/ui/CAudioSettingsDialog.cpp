#include "media/output/ui/CAudioSettingsDialog.h"

#include "media/output/CAudioPlayer.h"
#include "media/output/CSdlAudioBackend.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QString text(const char* s) { return QString::fromUtf8(s); }

// An edit with its "Default is ..." note beside it.
QWidget* withNote(QLineEdit* edit, const char* note)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    edit->setMaximumWidth(60);
    row->addWidget(edit);
    row->addWidget(new QLabel(text(note)));
    row->addStretch();
    return box;
}
} // namespace

CAudioSettingsDialog::CAudioSettingsDialog(const CAudioSettings& settings, CAudioPlayer& player,
                                           const std::vector<std::string>& deviceNames, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_player(player), m_buffers(new QLineEdit), m_frequency(new QComboBox),
      m_device(new QComboBox), m_length(new QLineEdit), m_latency(new QLabel)
{
    setWindowTitle(text(CAudioSettings::kTitle));
    m_buffers->setObjectName("buffers");
    m_frequency->setObjectName("frequency");
    m_device->setObjectName("device");
    m_length->setObjectName("length");
    m_latency->setObjectName("latency");

    m_buffers->setText(QString::number(m_settings.buffers()));
    m_length->setText(QString::number(m_settings.lengthMs()));
    for (const std::string& f : CAudioSettings::frequencyTexts())
        m_frequency->addItem(QString::fromStdString(f));
    for (int i = 0; i < 3; ++i)
        if (CAudioSettings::kFrequencies[i] == m_settings.rate())
            m_frequency->setCurrentIndex(i);
    for (const auto& [id, name] : CAudioSettings::deviceEntries(deviceNames))
        m_device->addItem(QString::fromStdString(name), id);
    const int current = m_device->findData(m_settings.device());
    // A device that has gone since it was chosen: the default one plays instead.
    m_device->setCurrentIndex(current < 0 ? 0 : current);
    if (current < 0)
        m_settings.setDevice(CAudioSettings::kDefaultDevice);
    m_device->setMinimumWidth(280);

    auto* form = new QFormLayout;
    form->addRow(text(CAudioSettings::kBuffersLabel), withNote(m_buffers, CAudioSettings::kBuffersDefault));
    form->addRow(text(CAudioSettings::kFrequencyLabel), m_frequency);
    form->addRow(text(CAudioSettings::kDeviceLabel), m_device);

    auto* latencyBox = new QGroupBox(text(CAudioSettings::kLatencyGroup));
    auto* latencyForm = new QFormLayout(latencyBox);
    latencyForm->addRow(text(CAudioSettings::kLengthLabel), withNote(m_length, CAudioSettings::kLengthDefault));
    latencyForm->addRow(text(CAudioSettings::kOutputLatencyLabel), m_latency);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(latencyBox);
    layout->addWidget(buttons);

    connect(m_buffers, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_settings.setBuffersText(t.toStdString());
        showLatency();
    });
    connect(m_length, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_settings.setLengthText(t.toStdString());
        showLatency();
    });
    // Leaving a field shows the value that counts, so what OK takes is what is seen.
    connect(m_buffers, &QLineEdit::editingFinished, this,
            [this] { m_buffers->setText(QString::number(m_settings.buffers())); });
    connect(m_length, &QLineEdit::editingFinished, this,
            [this] { m_length->setText(QString::number(m_settings.lengthMs())); });
    connect(m_frequency, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < 3)
            m_settings.setRate(CAudioSettings::kFrequencies[i]);
    });
    connect(m_device, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            m_settings.setDevice(m_device->itemData(i).toInt());
    });
    showLatency();
}

void CAudioSettingsDialog::showLatency() { m_latency->setText(QString::fromStdString(m_settings.latencyText())); }

void CAudioSettingsDialog::accept()
{
    m_buffers->setText(QString::number(m_settings.buffers()));
    m_length->setText(QString::number(m_settings.lengthMs()));
    m_player.applySettings(m_settings);
    QDialog::accept();
}

int CAudioSettingsDialog::edit(QWidget* parent, CAudioSettings& settings, CAudioPlayer& player)
{
    CAudioSettingsDialog dialog(settings, player, CSdlAudioBackend::outputDeviceNames(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    settings = dialog.settings();
    return 1;
}
