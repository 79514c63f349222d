#include "kinds/colors/ui/CColorsPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/CTypedCellColumn.h"
#include "kinds/colors/CColorItem.h"
#include "kinds/colors/ui/CColorSwatchView.h"

#include <QMenu>
#include <QRegularExpression>

CColorsPanel::CColorsPanel(QWidget* parent)
    : CItemsGrid(GroupColors, parent), m_swatches(new CColorSwatchView)
{
    m_colorColumn = new CTypedCellColumn(*this, ColColor, [this](int item, CellValue& value) {
        value.setKind(CellValue::KindColor);
        value.setEditable(true);
        if (const CColorItem* color = itemAs<CColorItem>(item))
            value.setColor({static_cast<std::uint32_t>(color->rgb()), color->alpha()});
    });
    installPanelView(*this, m_swatches);
    // The swatches follow the marks as well as the current row.
    connect(this, &CItemsGrid::selectionCountChanged, this, [this](int) { reloadEditorView(); });
}

QString CColorsPanel::editorHeader(int column) const
{
    switch (column) {
    case ColId: return QStringLiteral("ID");
    case ColColor: return QStringLiteral("Color");
    case ColSpecs: return QStringLiteral("Specifications");
    case ColComments: return QStringLiteral("Comments");
    default: return {};
    }
}

QString CColorsPanel::editorCellText(int column, int item) const
{
    const CColorItem* color = itemAs<CColorItem>(item);
    if (!color)
        return {};
    switch (column) {
    case ColId: return QString::fromStdString(color->id());
    case ColColor: return QString::fromStdString(m_colorColumn->valueOf(item).displayText(0, 0));
    case ColSpecs: return QString::fromStdString(color->specsText());
    case ColComments: return QString::fromStdString(color->comments());
    default: return {};
    }
}

bool CColorsPanel::editorCellEditable(int column) const
{
    return column == ColId || column == ColColor || column == ColComments;
}

std::optional<CColorsPanel::Color> CColorsPanel::parseColorText(const QString& text, int alpha)
{
    static const QRegularExpression shown(
        QStringLiteral("^\\s*\\(\\s*([0-9A-Fa-f]{1,2})\\s*\\)\\s*([0-9A-Fa-f]{1,2})\\s+([0-9A-Fa-f]{1,2})\\s+([0-9A-Fa-f]{1,2})\\s*$"));
    const QRegularExpressionMatch m = shown.match(text);
    if (m.hasMatch()) {
        auto hex = [&](int n) { return m.captured(n).toInt(nullptr, 16); };
        return Color{CColorItem::makeRgb(hex(2), hex(3), hex(4)), hex(1)};
    }
    // Anything else reads the way a colour cell reads a typed number.
    CellValue value(CellValue::KindColor);
    if (!value.setFromText(text.toStdString()))
        return std::nullopt;
    return Color{static_cast<std::int32_t>(value.color().rgb & 0xffffff), alpha};
}

int CColorsPanel::setEditorCell(int column, int item, const QString& text)
{
    CColorItem* color = itemAs<CColorItem>(item);
    if (!color)
        return 0;
    switch (column) {
    case ColId: color->setId(text.toStdString()); return 1;
    case ColComments: color->setComments(text.toStdString()); return 1;
    case ColColor: {
        const auto parsed = parseColorText(text, color->alpha());
        if (!parsed)
            return 0;
        color->setColor(parsed->rgb, static_cast<std::uint8_t>(parsed->alpha));
        return 1;
    }
    default: return 0;
    }
}

int CColorsPanel::copyEditorCell(int column, int to, int from)
{
    if (column != ColColor)
        return CItemsGrid::copyEditorCell(column, to, from);
    CColorItem* target = itemAs<CColorItem>(to);
    const CColorItem* source = itemAs<CColorItem>(from);
    if (!target || !source)
        return 0;
    target->copyColorFrom(*source);
    return 1;
}

bool CColorsPanel::sortRank(int gridColumn, int item, double& rank) const
{
    // Colours sort as numbers (their RGB), like every numeric cell.
    if (gridColumn == ColColor + kLeadingColumns) {
        if (const CColorItem* color = itemAs<CColorItem>(item)) {
            rank = static_cast<std::uint32_t>(color->rgb());
            return true;
        }
    }
    return CItemsGrid::sortRank(gridColumn, item, rank);
}

void CColorsPanel::buildMenu(QMenu& menu, int base)
{
    QAction* empty = menu.addAction(QString::fromLatin1(kEmptyEntry));
    empty->setData(base);
    empty->setStatusTip(QString::fromLatin1(kEmptyHelp));
    empty->setToolTip(QString::fromLatin1(kEmptyHelp));
    empty->setEnabled(false);
}

void CColorsPanel::reloadEditorView()
{
    // One swatch per selected colour in the order the rows were marked, as
    // the other groups' selection commands take them.
    std::vector<const CColorItem*> colors;
    for (int item : selectionInMarkOrder())
        if (const CColorItem* color = itemAs<CColorItem>(item))
            colors.push_back(color);
    m_swatches->setColors(std::move(colors));
}
