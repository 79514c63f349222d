#include "kinds/texts/ui/CTextsPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/CTitledTextView.h"
#include "kinds/texts/CTextItem.h"
#include "kinds/texts/CTextReferenceExpander.h"
#include "params/ui/CGuiColors.h"

namespace {
QString fromBytes(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }
} // namespace

CTextsPanel::CTextsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupTexts, {{"ID", true}, {"Text", true}, {"Comments", true}}, parent),
      m_preview(new CTitledTextView)
{
    installPanelView(*this, m_preview);
    // The preview is drawn like the program's lists, in its own colours.
    takeGuiColors();
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, &CTextsPanel::takeGuiColors);
}

void CTextsPanel::takeGuiColors()
{
    m_preview->setPalette(CGuiColors::instance().listPalette(m_preview->palette()));
    m_preview->update();
}

bool CTextsPanel::checkReferences()
{
    const CResourceGroup* texts = holder() ? holder()->group(GroupTexts) : nullptr;
    if (!texts)
        return true;
    const CTextReferenceExpander expander(*texts);
    for (int item = 0; item < rowCount(); ++item) {
        const CTextItem* text = itemAs<CTextItem>(item);
        if (const auto missing = text ? expander.missingReference(text->text()) : std::nullopt)
            return reportFinding(item, QString::fromLatin1(kMissingReference)
                                           .arg(QString::fromStdString(text->id()), QString::number(item),
                                                QString::fromStdString(*missing)));
    }
    return true;
}

bool CTextsPanel::fillCell(int column, int item, CellValue& value) const
{
    const CTextItem* text = itemAs<CTextItem>(item);
    if (!text)
        return false;
    switch (column) {
    case ColId:
        value.assignText(text->id());
        return true;
    // Texts and comments may hold line breaks: they are edited in the
    // several-line form of the value editor, where a one-line edit could
    // neither keep nor add them.
    case ColText:
        value.assignText(text->text(), CellValue::KindLongText);
        return true;
    case ColComments:
        value.assignText(text->comments(), CellValue::KindLongText);
        return true;
    default:
        return false;
    }
}

int CTextsPanel::storeCell(int column, int item, const CellValue& value)
{
    CTextItem* text = itemAs<CTextItem>(item);
    if (!text)
        return 0;
    switch (column) {
    case ColId: text->setId(value.text()); break;
    case ColText: text->setText(value.text()); break;
    case ColComments: text->setComments(value.text()); break;
    default: return 0;
    }
    // Other records may show this one through a reference: redraw whatever
    // the current record is.
    reloadEditorView();
    return 1;
}

void CTextsPanel::buildMenu(QMenu& menu, int base)
{
    addEmptyMenu(menu, base);
}

void CTextsPanel::reloadEditorView()
{
    const CTextItem* text = itemAs<CTextItem>(currentItem());
    if (!text) {
        m_preview->setInfo(QString(), QString());
        return;
    }
    m_preview->setInfo(fromBytes(text->id()), fromBytes(text->expandReferences(*holder()->group(GroupTexts))));
}
