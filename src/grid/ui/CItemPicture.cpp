#include "grid/ui/CItemPicture.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/colors/CColorItem.h"
#include "media/image/CDisplayBuffer.h"
#include "params/ui/CGuiColors.h"

#include <QDrag>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <algorithm>

bool CItemPicture::cellOf(const CResourceHolder* document, int group, int item, CellValue& value)
{
    if (!document)
        return false;
    int bitmap = -1;
    if (group == GroupBitmaps) {
        bitmap = item;
    } else if (group == GroupAnimations) {
        const auto* animation = dynamic_cast<const CAnimationItem*>(document->get(group, item));
        if (animation && animation->frameCount() > 0)
            bitmap = animation->frames().front().bitmap;
    } else if (group == GroupColors) {
        const auto* color = dynamic_cast<const CColorItem*>(document->get(group, item));
        if (!color)
            return false;
        value.setKind(CellValue::KindColor);
        value.setColor({static_cast<std::uint32_t>(color->rgb()) & 0xFFFFFFu, 255});
        return true;
    }
    if (bitmap < 0 || !document->get(GroupBitmaps, bitmap))
        return false;
    value.setKind(CellValue::KindPicture);
    value.setPicture(document, bitmap);
    return true;
}

namespace {
// What the value shows, at its own size: a bitmap's pixels or a swatch.
QImage faceOf(const CellValue& value)
{
    if (value.kind() == CellValue::KindColor) {
        QImage swatch(CItemPicture::kDragSide, CItemPicture::kDragSide, QImage::Format_RGB32);
        swatch.fill(CGuiColors::toQColor(value.color().rgb));
        return swatch;
    }
    const CResourceHolder* document = value.picture().document;
    const auto* bitmap =
        document ? dynamic_cast<const CDisplayBuffer*>(document->get(GroupBitmaps, value.picture().index)) : nullptr;
    if (!bitmap || bitmap->actualWidth() <= 0 || bitmap->actualHeight() <= 0)
        return {};
    QImage pixels(bitmap->actualWidth(), bitmap->actualHeight(), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    bitmap->drawWithoutOffset(painter);
    return pixels;
}

// `face` as large as fits `side`: small pictures grow by whole steps so
// their pixels stay square and sharp, large ones shrink smoothly.
QImage fitted(const QImage& face, int side)
{
    const double fits = std::min(double(side) / face.width(), double(side) / face.height());
    if (fits >= 1.0) {
        const int times = static_cast<int>(fits);
        return face.scaled(face.size() * times, Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    return face.scaled(QSize(side, side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
} // namespace

QPixmap CItemPicture::dragPixmap(const CResourceHolder& document, int group, const std::vector<int>& items)
{
    CellValue value;
    if (items.empty() || !cellOf(&document, group, items.front(), value))
        return {};
    const QImage face = faceOf(value);
    if (face.isNull())
        return {};
    // A card of the window's face: a drag's picture is not always shown
    // with its transparency.
    constexpr int kMargin = 4;
    const QPalette palette;
    QPixmap pixmap(kDragSide + 2 * kMargin, kDragSide + 2 * kMargin);
    pixmap.fill(palette.base().color());
    QPainter painter(&pixmap);
    painter.setPen(palette.mid().color());
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    const QImage shown = fitted(face, kDragSide);
    painter.drawImage(QPoint((pixmap.width() - shown.width()) / 2, (pixmap.height() - shown.height()) / 2), shown);
    if (items.size() > 1) {
        // How many go, in a badge at the bottom right.
        const QString count = QString::number(items.size());
        const QFontMetrics metrics = painter.fontMetrics();
        const int width = std::max(metrics.height(), metrics.horizontalAdvance(count) + 8);
        const QRect badge(pixmap.width() - width - 1, pixmap.height() - metrics.height() - 1, width, metrics.height());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette.highlight());
        painter.drawRoundedRect(badge, badge.height() / 2.0, badge.height() / 2.0);
        painter.setPen(palette.highlightedText().color());
        painter.drawText(badge, Qt::AlignCenter, count);
    }
    return pixmap;
}

bool CItemPicture::putOn(QDrag& drag, const QPixmap& picture)
{
    if (picture.isNull())
        return false;
    drag.setPixmap(picture);
    drag.setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    return true;
}
