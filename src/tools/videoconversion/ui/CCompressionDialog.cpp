#include "tools/videoconversion/ui/CCompressionDialog.h"

#include "params/ui/CGuiColors.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QSlider>

namespace {
// The editor's settings store, where its recent files are kept too.
QString organisation()
{
    return QString::fromLatin1(CCompressionDialog::kSettingsOrganisation);
}
const char* const kEncoderKey = "Settings/MovieEncoder";
const char* const kQualityKey = "Settings/MovieQuality";
} // namespace

CCompressionDialog::CCompressionDialog(const CMovieCompression& start, QWidget* parent)
    : QDialog(parent), m_encoder(new QComboBox(this)), m_quality(new QSlider(Qt::Horizontal, this)),
      m_qualityLabel(new QLabel(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    for (const auto& offer : CMovieCompression::offered())
        m_encoder->addItem(QString::fromLatin1(offer.title), QString::fromLatin1(offer.encoder));
    m_encoder->setCurrentIndex(std::max(0, m_encoder->findData(QString::fromStdString(start.encoder))));
    m_quality->setRange(1, 100);
    m_quality->setValue(start.quality);
    m_qualityLabel->setMinimumWidth(m_qualityLabel->fontMetrics().horizontalAdvance(QStringLiteral("100")));
    connect(m_quality, &QSlider::valueChanged, this, [this](int v) { m_qualityLabel->setNum(v); });
    m_qualityLabel->setNum(start.quality);
    connect(m_encoder, &QComboBox::currentIndexChanged, this, &CCompressionDialog::encoderChanged);

    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(m_quality, 1);
    qualityRow->addWidget(m_qualityLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Compressor:"), m_encoder);
    auto* qualityLabel = new QLabel(tr("&Quality:"), this);
    qualityLabel->setBuddy(m_quality);
    form->addRow(qualityLabel, qualityRow);
    form->addRow(buttons);
    encoderChanged();
    resize(std::max(360, sizeHint().width()), sizeHint().height());
}

void CCompressionDialog::encoderChanged()
{
    const auto offer = CMovieCompression::offer(m_encoder->currentData().toString().toStdString());
    const bool hasQuality = offer && offer->hasQuality;
    m_quality->setEnabled(hasQuality);
    m_qualityLabel->setEnabled(hasQuality);
}

CMovieCompression CCompressionDialog::compression() const
{
    CMovieCompression c;
    c.encoder = m_encoder->currentData().toString().toStdString();
    c.quality = m_quality->value();
    return c;
}

CMovieCompression CCompressionDialog::remembered()
{
    CMovieCompression c;
    QSettings s(organisation(), QStringLiteral("Quillop"));
    const std::string encoder = s.value(kEncoderKey, QString::fromStdString(c.encoder)).toString().toStdString();
    if (CMovieCompression::offer(encoder))
        c.encoder = encoder;
    c.quality = std::clamp(s.value(kQualityKey, c.quality).toInt(), 1, 100);
    return c;
}

void CCompressionDialog::remember(const CMovieCompression& compression)
{
    QSettings s(organisation(), QStringLiteral("Quillop"));
    s.setValue(kEncoderKey, QString::fromStdString(compression.encoder));
    s.setValue(kQualityKey, compression.quality);
}

std::optional<CMovieCompression> CCompressionChooser::chooseCompression(int, int)
{
    // The wait cursor of the running conversion would hide that this waits
    // for the user.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    CCompressionDialog dialog(CCompressionDialog::remembered(), m_parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (waiting)
        QApplication::restoreOverrideCursor();
    if (!accepted)
        return std::nullopt;
    CCompressionDialog::remember(dialog.compression());
    return dialog.compression();
}
