#include "kinds/userinterfaces/UserInterfaceJson.h"

#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/UserInterfaceItem.h"

#include <QJsonArray>

namespace {
// A type is written as its number; a manifest may also name it by its text.
bool readType(const QJsonValue& value, const std::vector<std::string>& texts, std::int32_t& type)
{
    if (value.isDouble()) {
        type = value.toInt();
        return true;
    }
    const std::string text = toBytes(value.toString());
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == text) {
            type = static_cast<std::int32_t>(i);
            return true;
        }
    return false;
}

// Every text field of an item, by its manifest key.
struct TextField {
    const char* key;
    std::string UserInterfaceItem::*member;
};
const TextField kTextFields[] = {
    {"comments", &UserInterfaceItem::comments},         {"title", &UserInterfaceItem::title},
    {"helpText", &UserInterfaceItem::helpText},         {"defaultValue", &UserInterfaceItem::defaultValue},
    {"minimumValue", &UserInterfaceItem::minimumValue}, {"maximumValue", &UserInterfaceItem::maximumValue},
    {"image", &UserInterfaceItem::image},               {"states", &UserInterfaceItem::states},
};
} // namespace

void UserInterfaceJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& ui = static_cast<const UserInterface&>(item);
    fields[QStringLiteral("type")] = ui.type();
    fields[QStringLiteral("typeText")] = fromBytes(UserInterface::typeText(ui.type()));
    QJsonArray items;
    for (int i = 0; i < ui.itemCount(); ++i) {
        const UserInterfaceItem& entry = *ui.item(i);
        QJsonObject o;
        o[QStringLiteral("id")] = fromBytes(entry.id);
        o[QStringLiteral("type")] = entry.type;
        o[QStringLiteral("typeText")] = fromBytes(UserInterfaceItem::typeText(entry.type));
        o[QStringLiteral("level")] = entry.level;
        o[QStringLiteral("spare")] = entry.spare;
        for (const TextField& f : kTextFields)
            o[QLatin1String(f.key)] = fromBytes(entry.*f.member);
        items.append(o);
    }
    fields[QStringLiteral("items")] = items;
}

int UserInterfaceJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    auto& ui = static_cast<UserInterface&>(item);
    std::int32_t type = ui.type();
    if (fields.contains(QStringLiteral("type")) && !readType(fields[QStringLiteral("type")], UserInterface::typeTexts(), type)) {
        error = QStringLiteral("unknown user interface type");
        return 0;
    }
    ui.setType(type);
    ui.clearItems();
    for (const QJsonValue& value : fields[QStringLiteral("items")].toArray()) {
        const QJsonObject o = value.toObject();
        UserInterfaceItem& entry = *ui.item(ui.appendItem(toBytes(o[QStringLiteral("id")].toString())));
        if (o.contains(QStringLiteral("type")) &&
            !readType(o[QStringLiteral("type")], UserInterfaceItem::typeTexts(), entry.type)) {
            error = QStringLiteral("item %1: unknown item type").arg(o[QStringLiteral("id")].toString());
            return 0;
        }
        entry.level = o[QStringLiteral("level")].toInt(entry.level);
        for (const TextField& f : kTextFields)
            if (o.contains(QLatin1String(f.key)))
                entry.*f.member = toBytes(o[QLatin1String(f.key)].toString());
    }
    return 1;
}
