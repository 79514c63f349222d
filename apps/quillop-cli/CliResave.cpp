#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"

int runResave(const QStringList& args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("usage: resave IN OUT"));
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, args[0]))
        return 1;
    if (!holder->save(args[1].toStdString()))
        return fail(QStringLiteral("%1: could not be written").arg(args[1]));
    return 0;
}

CliCommand resaveCommand()
{
    return {"resave", "resave IN OUT", "reads a resource file and writes it in the current format", runResave};
}
