#pragma once

#include "params/ui/CMVT_ParamBitmap.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "tools/bitmapcolors/CBitmapColorExtraction.h"

// The "Extract Bitmap Colors" tool window: a picture file and two buttons
// that write its diffuse map and its bump map beside it. The picture in the
// sheet shows the source, and after a press the map just written.
class CDocExtractBitmapColors : public CMVT_ParametersDocument {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Extract Bitmap Colors";
    static constexpr const char* kBmpFilter = "Windows Bitmap BMP (*.bmp)\n*.bmp\nAll Files (*.*)\n*.*\n\n";

    explicit CDocExtractBitmapColors(QWidget* parent = nullptr);

    std::string toolTitle() const override { return kTitle; }
    void buildSheet() override;
    void factoryReset() override;
    void itemNotification(CMVT_Parameter* item) override;
    void valuesApplied() override { showSource(); }

    // 1 when the map was written.
    int extract(CBitmapColorExtraction::Map map);

    const CBitmapColorExtraction& extraction() const { return m_extraction; }

    CMVT_ParamTitle heading;
    CMVT_ParamBitmap bitmap;
    CMVT_ParamButton diffuse, bump;

private:
    void showSource();

    CBitmapColorExtraction m_extraction;
};
