#pragma once

#include <QStringList>

#include <functional>

// One sub-command of quillop-cli. run() gets the arguments after the command
// name and returns the process exit code; errors go to stderr.
struct CliCommand {
    const char* name;
    const char* usage;
    const char* summary;
    std::function<int(const QStringList& args)> run;
};

CliCommand infoCommand();
CliCommand resaveCommand();
CliCommand bassDrumCommand();
CliCommand dumpCommand();
CliCommand extractCommand();
CliCommand packCommand();
CliCommand renderWorldCommand();
CliCommand analyzeCommand();
CliCommand toMidiCommand();
CliCommand textureMapsCommand();
CliCommand mixCommand();
CliCommand playCommand();

// Shared by the commands: loads a document with every item kind, telling
// on stderr why it could not.
class CResourceHolder;
bool loadDocument(CResourceHolder& holder, const QString& path);
int fail(const QString& message);
