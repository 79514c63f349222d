#include "app/CToolWindows.h"

#include "app/CQuillopApp.h"
#include "tools/analysis/ui/CDocAnalyzeFundamental.h"
#include "tools/bassdrum/ui/CDocGenerateBassDrumTechno1.h"
#include "tools/bitmapcolors/ui/CDocExtractBitmapColors.h"
#include "tools/midi/ui/CDocConvertToMidi.h"

CMVT_ParametersDocument* CToolWindows::create(const QString& command, CQuillopApp& app)
{
    CMVT_ParametersDocument* tool = nullptr;
    if (command == QLatin1String(kCommands[0]))
        tool = new CDocAnalyzeFundamental;
    else if (command == QLatin1String(kCommands[1]))
        tool = new CDocConvertToMidi;
    else if (command == QLatin1String(kCommands[2]))
        tool = new CDocGenerateBassDrumTechno1(app.audioPlayer());
    else if (command == QLatin1String(kCommands[3]))
        tool = new CDocExtractBitmapColors;
    if (tool)
        tool->create();
    return tool;
}
