#include "app/CInterfaceResources.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CBitmapPicture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPalette>

#include <cstdlib>
#include <optional>
#include <QFileInfo>

const std::array<const char*, CInterfaceResources::NamedBitmapCount> CInterfaceResources::kBitmapNames = {
    "PopUpDown", "PopUpRight", "GridCheckBoxYes", "GridCheckBoxNo", "SelectedItem", "GroupExpand", "GroupCollapse",
    "ScrollBarZoom", "ScrollBarMove", "ScrollBarPageDown", "ScrollBarPageLeft", "ScrollBarPageRight",
    "ScrollBarPageUp", "ScrollBarStepDown", "ScrollBarStepLeft", "ScrollBarStepRight", "ScrollBarStepUp",
    "ScrollBarFit", "WindowResize",
};

CInterfaceResources::CInterfaceResources() : m_holder(createDocumentHolder()) { m_named.fill(-1); }

CInterfaceResources::~CInterfaceResources() = default;

std::string CInterfaceResources::defaultFileName()
{
    const QFileInfo self(QCoreApplication::applicationFilePath());
    return (self.completeBaseName() + QStringLiteral(".mrc")).toStdString();
}

int CInterfaceResources::load(const std::string& fileName, IPrompter& prompter)
{
    clear();
    m_holder->setPrompter(&prompter);
    const int loaded = m_holder->load(fileName);
    m_holder->setPrompter(nullptr);
    if (!loaded) {
        m_holder->clear();
        return 0;
    }
    // The file's own user interfaces draw with the file's own bitmaps.
    for (int i = 0; i < m_holder->count(GroupUserInterfaces); ++i)
        if (auto* ui = dynamic_cast<UserInterface*>(m_holder->get(GroupUserInterfaces, i)))
            ui->setPictureSource(m_holder.get());
    for (int n = 0; n < NamedBitmapCount; ++n)
        m_named[static_cast<std::size_t>(n)] = m_holder->findById(GroupBitmaps, kBitmapNames[static_cast<std::size_t>(n)]);
    m_loaded = true;
    return 1;
}

void CInterfaceResources::clear()
{
    m_holder->clear();
    m_named.fill(-1);
    m_loaded = false;
}

int CInterfaceResources::bitmapIndex(const std::string& id) const
{
    return id.empty() ? -1 : m_holder->findById(GroupBitmaps, id);
}

QPixmap CInterfaceResources::picture(int index) const
{
    return QPixmap::fromImage(CBitmapPicture::ofRow(*m_holder, index));
}

namespace {
// A picture drawn in one dark ink (a letter, the menu's lines) vanishes on a
// dark desktop; its ink then takes the colour of the window's text. Pictures
// of several colours keep them.
QImage inkInTextColour(QImage image)
{
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    if (image.isNull() || text.lightness() < 128)
        return image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    std::optional<QRgb> ink;
    bool oneInk = true;
    for (int y = 0; y < image.height() && oneInk; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width() && oneInk; ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            // Edges that are nearly clear carry rounded colours.
            const QRgb colour = line[x];
            const auto near = [colour](QRgb other) {
                return std::abs(qRed(colour) - qRed(other)) + std::abs(qGreen(colour) - qGreen(other)) +
                           std::abs(qBlue(colour) - qBlue(other)) <= 48;
            };
            oneInk = !ink || near(*ink);
            if (!ink && qAlpha(colour) == 255)
                ink = colour;
        }
    }
    if (!oneInk || !ink || QColor(*ink).lightness() >= 96)
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                line[x] = qRgba(text.red(), text.green(), text.blue(), qAlpha(line[x]));
    }
    return image;
}
} // namespace

QIcon CInterfaceResources::icon(const std::string& bitmapId) const
{
    const QImage picture = inkInTextColour(CBitmapPicture::ofRow(*m_holder, bitmapIndex(bitmapId)));
    if (picture.isNull())
        return {};
    // On a 2x screen the small pictures are drawn with every pixel doubled,
    // keeping their sharp edges instead of being smoothed into a blur.
    QIcon icon(QPixmap::fromImage(picture));
    QPixmap doubled = QPixmap::fromImage(picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    doubled.setDevicePixelRatio(2.0);
    icon.addPixmap(doubled);
    return icon;
}

const UserInterface* CInterfaceResources::userInterface(const std::string& id) const
{
    return UserInterface::find(*m_holder, id);
}
