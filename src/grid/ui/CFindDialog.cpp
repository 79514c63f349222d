#include "grid/ui/CFindDialog.h"

#include "params/ui/CMVT_ParamBoolean.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

CFindDialog::CFindDialog(const CFindOptions& start, QWidget* parent)
    : QDialog(parent), m_sheet(new CMVT_ParameterList)
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setSizeGripEnabled(true);
    m_sheet->addTitle(0, "title", kTitle);
    m_sheet->addText(1, "text", "&Text", start.text.toStdString());
    m_sheet->addBoolean(1, "matchCase", "Match &Case", start.matchCase);
    m_sheet->addBoolean(1, "wholeWord", "Match &Whole Word Only", start.wholeWord);
    m_sheet->addBoolean(1, "backward", "Go &Backward", start.backward);
    m_sheet->addTitle(0, "advanced", "Advanced");
    m_sheet->addBoolean(1, "inSelected", "&Find in Selected Items", start.inSelectedItems);
    m_sheet->addBoolean(1, "selectItems", "&Select Items", start.selectItems);
    m_sheet->addBoolean(2, "unselectPrevious", "&Unselect Previously Selected Items", start.unselectPrevious);
    m_sheet->addBoolean(1, "replace", "&Replace", start.replace);
    m_sheet->addText(2, "replacement", "Replacecement S&tring", start.replacement.toStdString());
    m_sheet->addBoolean(2, "ask", "Ask Before Replace", start.askBeforeReplace);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    resize(420, 460);
}

CFindOptions CFindDialog::options() const
{
    auto flag = [this](const char* name) {
        auto* item = m_sheet->findAs<CMVT_ParamBoolean>(name);
        return item && item->value();
    };
    auto text = [this](const char* name) {
        auto* item = m_sheet->findAs<CMVT_ParamText>(name);
        return item ? QString::fromStdString(item->value()) : QString();
    };
    CFindOptions o;
    o.text = text("text");
    o.replacement = text("replacement");
    o.matchCase = flag("matchCase");
    o.wholeWord = flag("wholeWord");
    o.backward = flag("backward");
    o.inSelectedItems = flag("inSelected");
    o.selectItems = flag("selectItems");
    o.unselectPrevious = flag("unselectPrevious");
    o.replace = flag("replace");
    o.askBeforeReplace = flag("ask");
    return o;
}
