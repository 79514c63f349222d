#pragma once

#include "core/CKeySource.h"
#include "core/IPrompter.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string>

// What every fuzz target shares: one application object (images, fonts and
// painters work as in the editor), a scratch folder of its own, a prompter
// that agrees to everything (so that older files load too), and fixed key
// words (so that a save is the same every run).
namespace fuzz {

void start();

// A file under the scratch folder, rewritten with `bytes`.
std::string scratchFile(const std::string& name, const QByteArray& bytes);
std::string scratchPath(const std::string& name);

QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

IPrompter& yesPrompter();
CKeySource& fixedKeys();

// A finding that is not a crash: the process stops with a message so the
// input is kept.
[[noreturn]] void finding(const std::string& what);

} // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
