#include "params/ui/CMVT_ParamBitmap.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "media/image/CDisplayBuffer.h"

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
