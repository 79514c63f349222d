#pragma once

#include "core/CResourceHolder.h"
#include "media/output/CAudioSettings.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class IVoiceSource;

// What `play` and `mix` are given: a document, the IDs of its sounds, the
// output settings, and for `mix` the file and length to render.
struct CliSoundArgs {
    QString document;
    QStringList ids;
    CAudioSettings settings;
    bool loop = false;
    QString output;        // mix only
    double seconds = -1.0; // mix only; below 0: until the sounds end
};

// Reads `FILE ID... [options]`: --rate HZ, --buffers N, --length MS and
// --loop for both commands, -o OUT and --seconds S for mix. Tells on stderr
// what is wrong and returns false.
bool parseSoundArgs(const QStringList& args, bool forMix, CliSoundArgs& out);

// The document and its sound items named by ID, in the order given.
struct CliSoundDocument {
    std::unique_ptr<CResourceHolder> holder;
    std::vector<const IVoiceSource*> items;
};
bool loadSounds(const CliSoundArgs& args, CliSoundDocument& out);
