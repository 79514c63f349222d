#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"

int runResave(const QStringList& args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("usage: resave IN OUT"));
    if (!requireReplaceable(args[1]))
        return 1;
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, args[0]))
        return 1;
    // Written as read, the file would lose what the load left out.
    if (holder->droppedPart())
        return fail(QStringLiteral("%1: not written, %2 was only partly loaded").arg(args[1], args[0]));
    if (!holder->save(argumentBytes(args[1])))
        return fail(QStringLiteral("%1: could not be written").arg(args[1]));
    return 0;
}

CliCommand resaveCommand()
{
    return {"resave", "resave IN OUT", "reads a resource file and writes it in the current format", runResave};
}
