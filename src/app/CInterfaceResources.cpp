#include "app/CInterfaceResources.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CBitmapPicture.h"

#include <QCoreApplication>
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

QIcon CInterfaceResources::icon(const std::string& bitmapId) const
{
    const QPixmap pixmap = picture(bitmapIndex(bitmapId));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

const UserInterface* CInterfaceResources::userInterface(const std::string& id) const
{
    return UserInterface::find(*m_holder, id);
}
