#pragma once

#include <utility>
#include <vector>

#include <QStringList>

#include <functional>
#include <string>

// One sub-command of quillop-cli. run() gets the arguments after the command
// name and returns the process exit code; errors go to stderr.
// `options` lists one option per line as "TERM<tab>what it does"; `exits`
// replaces the usual exit status text when a command gives more than
// success and failure. "COMMAND --help" and the manual page both come from
// these, so they say the same.
struct CliCommand {
    const char* name;
    const char* usage;
    const char* summary;
    std::function<int(const QStringList& args)> run;
    const char* options = "";
    const char* exits = nullptr;
};

// The exit status of a command that Ctrl+C stops cleanly.
extern const char* const kStoppableExits;

// The text of "COMMAND --help": usage, summary, options and exit status.
QString commandHelp(const CliCommand& command);
// A usage line followed by the options, for a command refusing its arguments.
QString usageWithOptions(const char* usage, const char* options);

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
CliCommand exportTmxCommand();
CliCommand importTmxCommand();
CliCommand exportWorldTmxCommand();
CliCommand exportSheetCommand();
CliCommand importSheetCommand();

// Shared by the commands: loads a document with every item kind, telling
// on stderr why it could not, and what it left out of a partly read file.
class CResourceHolder;
bool loadDocument(CResourceHolder& holder, const QString& path);
// Several documents read at once, one thread each: comparing large
// documents is mostly reading them. False when any could not be read.
bool loadDocuments(const std::vector<std::pair<CResourceHolder*, QString>>& documents);
// Several documents walked item by item from their files at once, one
// thread each, saying nothing: false when any is not a document that walks
// through cleanly, which a full load then reports on.
class CWalkedDocument;
bool walkDocuments(const std::vector<std::pair<CWalkedDocument*, QString>>& documents);
int fail(const QString& message);
// False, told on stderr, when `target` exists and is not a regular file: a
// save renamed over a device or a FIFO would replace it.
bool requireReplaceable(const QString& target);

// Arguments are the bytes the system passed: a file name that is not valid
// text in the locale's encoding still names its file.
QString argumentText(const QByteArray& bytes);
std::string argumentBytes(const QString& argument);
std::string absoluteArgument(const QString& argument);
