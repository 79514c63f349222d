#include "kinds/texts/TextJson.h"

#include "kinds/texts/CTextItem.h"

void TextJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& text = static_cast<const CTextItem&>(item);
    fields[QStringLiteral("text")] = fromBytes(text.text());
}

int TextJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString&) const
{
    static_cast<CTextItem&>(item).setText(toBytes(fields[QStringLiteral("text")].toString()));
    return 1;
}
