#pragma once

#include "document/CRecoveryStore.h"

#include <QString>

class CMainFrame;

// At start, the recovery copies a crash or a kill left behind, one question
// each: Recover (the copy opens, modified, under its own file's name), Open
// the Saved File, or Discard.
class CRecoveryOffer {
public:
    enum class Choice { Recover, OpenSaved, Discard, Later };

    // What changed since the saved file: groups and item counts.
    static QString changesSinceSaved(const CRecoveryStore::Entry& entry);
    static QString question(const CRecoveryStore::Entry& entry);

    // Asks about every abandoned copy and carries out the answers.
    static void offer(CMainFrame& frame);
    static void carryOut(CMainFrame& frame, const CRecoveryStore::Entry& entry, Choice choice);
};
