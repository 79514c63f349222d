#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <type_traits>

// The "--key value" options of the tool commands: a table that maps each key
// to a field of the tool's settings, and the positional arguments left over.

template <typename Settings>
using CliSetter = std::function<bool(Settings&, const QString&)>;

template <typename Settings>
using CliOptionTable = std::map<QString, CliSetter<Settings>>;

// A setter for a numeric field; text that is not a number of the field's type is refused.
template <typename Settings, typename Number>
CliSetter<Settings> numberOption(Number Settings::*field)
{
    return [field](Settings& settings, const QString& text) {
        bool ok = false;
        if constexpr (std::is_floating_point_v<Number>) {
            settings.*field = static_cast<Number>(text.toDouble(&ok));
        } else {
            const qlonglong value = text.toLongLong(&ok);
            ok = ok && value >= static_cast<qlonglong>(std::numeric_limits<Number>::min()) &&
                 value <= static_cast<qlonglong>(std::numeric_limits<Number>::max());
            if (ok)
                settings.*field = static_cast<Number>(value);
        }
        return ok;
    };
}

// What handling one option gave.
enum class CliOption { Taken, BadValue, Unknown };

// Sets the field the table names for `key`.
template <typename Settings>
CliOption applyTableOption(const CliOptionTable<Settings>& table, Settings& settings, const QString& key,
                           const QString& value)
{
    const auto option = table.find(key);
    if (option == table.end())
        return CliOption::Unknown;
    return option->second(settings, value) ? CliOption::Taken : CliOption::BadValue;
}

// Walks the arguments: every "--key" takes the next argument as its value
// and goes to `apply`; the others are returned in order. Empty after an
// error, which has been printed (an unknown key prints `usage`).
std::optional<QStringList> parseCliOptions(const QStringList& args,
                                           const std::function<CliOption(const QString&, const QString&)>& apply,
                                           const QString& usage);
