#include "params/ui/CMVT_ParamBitmap.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "media/image/CDisplayBuffer.h"
#include "params/ui/CMVT_ParamFilename.h"

#include <QLabel>
#include <QPixmap>

namespace {
QImage pictureOf(const CResourceHolder* holder, const std::string& name)
{
    if (!holder)
        return {};
    const auto* buffer = dynamic_cast<const CDisplayBuffer*>(holder->findItem(GroupBitmaps, name));
    return buffer ? buffer->imageView() : QImage();
}
} // namespace

CMVT_ParamBitmap::CMVT_ParamBitmap(QWidget* parent)
    : CMVT_Parameter(parent), m_preview(new QLabel(this)), m_caption(new QLabel(this))
{
    m_preview->setFixedSize(kPreviewSize, kPreviewSize);
    m_preview->setFrameShape(QFrame::Box);
    m_preview->setAlignment(Qt::AlignCenter);
    m_caption->setTextFormat(Qt::PlainText);
    addControl(m_preview);
    addControl(m_caption, 1);
    showPreview();
}

void CMVT_ParamBitmap::setHolder(const CResourceHolder* holder)
{
    m_holder = holder;
    showPreview();
}

void CMVT_ParamBitmap::setBitmapName(const std::string& name)
{
    m_bitmap = name;
    showPreview();
}

void CMVT_ParamBitmap::setNameShown(bool shown) { m_caption->setVisible(shown); }

bool CMVT_ParamBitmap::hasPicture() const { return !pictureOf(m_holder, m_bitmap).isNull(); }

void CMVT_ParamBitmap::showPreview()
{
    const QImage picture = pictureOf(m_holder, m_bitmap);
    if (picture.isNull()) {
        m_preview->setPixmap(QPixmap());
        m_preview->setText(QStringLiteral("None"));
    } else {
        m_preview->setPixmap(QPixmap::fromImage(
            picture.scaled(kPreviewSize - 2, kPreviewSize - 2, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_caption->setText(QString::fromStdString(m_bitmap));
}

void CMVT_ParamBitmap::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_caption->hide();
    if (picture.isNull()) {
        m_preview->setFixedSize(kPreviewSize, kPreviewSize);
        m_preview->setPixmap(QPixmap());
        m_preview->setText(QStringLiteral("None"));
        return;
    }
    QImage shown = picture;
    if (shown.width() > kLargestShown || shown.height() > kLargestShown)
        shown = shown.scaled(kLargestShown, kLargestShown, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_preview->setFrameShape(QFrame::NoFrame);
    m_preview->setFixedSize(shown.size());
    m_preview->setPixmap(QPixmap::fromImage(shown));
}

CMVT_ParamFilename* CMVT_ParamBitmap::addFileField(const std::string& label, const std::string& filter)
{
    if (m_file)
        return m_file;
    m_file = new CMVT_ParamFilename(this);
    m_file->setMode(0);
    m_file->setFilter(filter);
    m_file->setLabel(label);
    addLine(m_file);
    connect(m_file, &CMVT_Parameter::itemChanged, this, [this] { notifyChanged(); });
    return m_file;
}

std::string CMVT_ParamBitmap::valueText() const { return m_file ? m_file->path() : std::string(); }

void CMVT_ParamBitmap::setValueText(const std::string& text)
{
    if (!m_file)
        return;
    m_file->setPath(text);
    m_file->refresh();
}
