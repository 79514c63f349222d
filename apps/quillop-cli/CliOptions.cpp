#include "CliOptions.h"

#include "CliCommand.h"

std::optional<QStringList> parseCliOptions(const QStringList& args,
                                           const std::function<CliOption(const QString&, const QString&)>& apply,
                                           const QString& usage)
{
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            fail(QStringLiteral("%1 needs a value").arg(arg));
            return std::nullopt;
        }
        const QString& value = args[++i];
        switch (apply(arg, value)) {
        case CliOption::Taken:
            break;
        case CliOption::BadValue:
            fail(QStringLiteral("%1: '%2' is not a valid value").arg(arg, value));
            return std::nullopt;
        case CliOption::Unknown:
            fail(QStringLiteral("unknown option %1\n%2").arg(arg, usage));
            return std::nullopt;
        }
    }
    return positional;
}
