#include "kinds/colors/ColorJson.h"

#include "kinds/colors/CColorItem.h"

void ColorJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& colour = static_cast<const CColorItem&>(item);
    fields[QStringLiteral("color")] = QColor(colour.red(), colour.green(), colour.blue()).name();
    fields[QStringLiteral("alpha")] = colour.alpha();
}

int ColorJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    const QColor rgb(fields[QStringLiteral("color")].toString(QStringLiteral("#000000")));
    const int alpha = fields[QStringLiteral("alpha")].toInt(255);
    if (!rgb.isValid() || alpha < 0 || alpha > 255) {
        error = QStringLiteral("a colour is \"#rrggbb\" with an alpha of 0 to 255");
        return 0;
    }
    static_cast<CColorItem&>(item).setColor(CColorItem::makeRgb(rgb.red(), rgb.green(), rgb.blue()),
                                            static_cast<std::uint8_t>(alpha));
    return 1;
}
