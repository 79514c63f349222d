#include "document/CDocumentPropertiesDialog.h"

#include "core/CResourceHolder.h"
#include "document/CQuillopDoc.h"
#include "kinds/texts/CDocumentSettings.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

CDocumentPropertiesDialog::CDocumentPropertiesDialog(CQuillopDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_sheet(new CMVT_ParameterList)
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setSizeGripEnabled(true);
    const CResourceHolder& holder = document.holder();
    const CDocumentSettings settings(document.holder());
    m_sheet->addTitle(0, "title", kTitle);
    m_sheet->addText(1, "id", "&ID", holder.id());
    m_sheet->addText(1, "comments", "&Comments", holder.comments(), true);
    m_sheet->addInfo(1, "commentsNote", kCommentsNote);
    m_sheet->addText(1, "password", "&Password Protection", settings.password());
    m_sheet->addInfo(1, "passwordNote", CDocumentSettings::kPasswordHelp);
    m_sheet->addTitle(0, "game", "Game Settings");
    m_sheet->addInteger(1, "speed", "Game Internal &Speed", CDocumentSettings::kPropertiesMinimumDelay,
                        CDocumentSettings::kPropertiesMaximumDelay, settings.propertiesStepDelay());
    m_sheet->addInfo(1, "speedNote", CDocumentSettings::kStepDelayHelp);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    resize(520, 560);
}

int CDocumentPropertiesDialog::apply()
{
    auto text = [this](const char* name) {
        auto* item = m_sheet->findAs<CMVT_ParamText>(name);
        return item ? item->value() : std::string();
    };
    auto* speed = m_sheet->findAs<CMVT_ParamInteger>("speed");
    const int delay = speed ? static_cast<int>(speed->value()) : CDocumentSettings::kPropertiesDefaultDelay;
    return m_document.applyProperties(text("id"), text("comments"), delay, text("password"));
}
