#include "kinds/userinterfaces/ui/CInterfaceDialog.h"

#include "kinds/userinterfaces/CUserInterfaceDialog.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CBitmapPicture.h"
#include "params/ui/CMVT_ParamBitmap.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamToolBar.h"
#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QUrl>
#include <QVBoxLayout>

namespace {
std::uint32_t toRgb(const QColor& c)
{
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8)
        | (static_cast<std::uint32_t>(c.blue()) << 16);
}

CPictureButton::Pictures picturesOf(const CToolBarButton& b, const CResourceHolder& pictures)
{
    return {CBitmapPicture::of(pictures, b.image), CBitmapPicture::of(pictures, b.imageRight),
            CBitmapPicture::of(pictures, b.backgroundUp), CBitmapPicture::of(pictures, b.backgroundDown)};
}
} // namespace

CInterfaceDialog::CInterfaceDialog(const UserInterface& ui, const CResourceHolder& interfaceHolder,
                                   const QString& title, QWidget* parent)
    : QDialog(parent), m_sheet(new CMVT_ParameterList)
{
    setWindowTitle(title);
    setSizeGripEnabled(true);
    // Pictures come from the picture source when the user interface has one
    // (the program's own resources), else from the holder it is part of.
    const CResourceHolder& pictures = ui.pictureSource() ? *ui.pictureSource() : interfaceHolder;
    for (const CDialogField& f : CUserInterfaceDialog::build(ui, &interfaceHolder)) {
        std::string name = f.name.empty() ? "item" + std::to_string(f.itemIndex) : f.name;
        switch (f.kind) {
        case CDialogField::Kind::Title: m_sheet->addTitle(f.level, name, f.label); break;
        case CDialogField::Kind::Info: m_sheet->addInfo(f.level, name, f.text); break;
        case CDialogField::Kind::Button: {
            CMVT_ParamButton* button = m_sheet->addButton(f.level, name, f.label);
            button->setPictures(picturesOf(f.button, pictures), f.button.border);
            button->button()->setToolTip(QString::fromStdString(f.button.helpText));
            button->button()->setStatusTip(button->button()->toolTip());
            if (f.name == "explore")
                if (const UserInterfaceItem* item = ui.item(f.itemIndex))
                    m_explore = QString::fromStdString(item->defaultValue);
            break;
        }
        case CDialogField::Kind::ToolBar: {
            CMVT_ParamToolBar* bar = m_sheet->addToolBar(f.level, name, {});
            for (const CToolBarButton& b : f.buttons) {
                if (b.gap)
                    bar->addGap();
                else
                    bar->addButton({b.id, b.title, b.helpText, picturesOf(b, pictures), b.border});
            }
            break;
        }
        case CDialogField::Kind::Boolean: m_sheet->addBoolean(f.level, name, f.label, f.integerValue != 0); break;
        case CDialogField::Kind::Integer:
            m_sheet->addInteger(f.level, name, f.label, f.integerMinimum, f.integerMaximum, f.integerValue);
            break;
        case CDialogField::Kind::Float:
            m_sheet->addFloat(f.level, name, f.label, f.realMinimum, f.realMaximum, f.realValue);
            break;
        case CDialogField::Kind::Text: m_sheet->addText(f.level, name, f.label, f.text, f.multiLine); break;
        case CDialogField::Kind::Filename: m_sheet->addFilename(f.level, name, f.label, 0, f.filter, f.text); break;
        case CDialogField::Kind::Filenames: m_sheet->addFilenames(f.level, name, f.label, f.text); break;
        case CDialogField::Kind::Color: m_sheet->addColor(f.level, name, f.label, toRgb(f.colour)); break;
        case CDialogField::Kind::Bitmap:
            m_sheet->addBitmap(f.level, name, f.label, &interfaceHolder, f.picture.id)->setNameShown(false);
            break;
        }
    }
    connect(m_sheet, &CMVT_ParameterList::itemChanged, this, [this](CMVT_Parameter* item) {
        if (item && item->name() == "explore" && !m_explore.isEmpty()) {
            emit exploreRequested(m_explore);
            QDesktopServices::openUrl(QUrl::fromUserInput(m_explore));
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    resize(460, 420);
}
