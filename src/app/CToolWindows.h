#pragma once

#include <QString>

#include <array>

class CMVT_ParametersDocument;
class CQuillopApp;

// The tool windows the main frame opens, by the command names of the
// interface resource file. The bass drum and the bitmap colours have
// commands of their own ("generate bass drum", "extract bitmap colors") in
// the main menu.
class CToolWindows {
public:
    static constexpr std::array<const char*, 4> kCommands = {"analyze fund", "convert fund to midi",
                                                             "generate bass drum", "extract bitmap colors"};

    // A new tool window for the command, built and at its remembered values;
    // nullptr for a name that opens none.
    static CMVT_ParametersDocument* create(const QString& command, CQuillopApp& app);
};
