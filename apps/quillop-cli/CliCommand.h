#pragma once

#include <QStringList>

#include <functional>
#include <string>

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
CliCommand imagesToAviCommand();
CliCommand aviToImagesCommand();
CliCommand convertResourcesCommand();
CliCommand splitSoundsCommand();
CliCommand diffCommand();
CliCommand textconvCommand();
CliCommand mergeCommand();

// Shared by the commands: loads a document with every item kind, telling
// on stderr why it could not, and what it left out of a partly read file.
class CResourceHolder;
bool loadDocument(CResourceHolder& holder, const QString& path);
int fail(const QString& message);
// False, told on stderr, when `target` exists and is not a regular file: a
// save renamed over a device or a FIFO would replace it.
bool requireReplaceable(const QString& target);

// Arguments are the bytes the system passed: a file name that is not valid
// text in the locale's encoding still names its file.
QString argumentText(const QByteArray& bytes);
std::string argumentBytes(const QString& argument);
std::string absoluteArgument(const QString& argument);
