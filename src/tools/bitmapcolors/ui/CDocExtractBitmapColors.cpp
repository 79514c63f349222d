#include "tools/bitmapcolors/ui/CDocExtractBitmapColors.h"

#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CUiServices.h"
#include "params/ui/WaitCursor.h"

#include <QDir>
#include <QImageReader>

CDocExtractBitmapColors::CDocExtractBitmapColors(QWidget* parent) : CMVT_ParametersDocument(parent)
{
    setName("No Name");
}

void CDocExtractBitmapColors::buildSheet()
{
    place(heading, 0, "", "Extract Bitmap Colors");
    bitmap.addFileField("&Input Source BMP Bitmap Filename", kBmpFilter);
    place(bitmap, 1, "bitmap", "Bitmap");
    place(diffuse, 1, "", "&Extract Diffuse Map");
    place(bump, 1, "", "&Extract Bump Map");
}

void CDocExtractBitmapColors::factoryReset()
{
    // The user's home folder: the file chooser starts where the user's
    // pictures usually are, and nothing is picked until the user picks it.
    bitmap.setValueText((QDir::homePath() + QLatin1Char('/')).toLocal8Bit().toStdString());
    showSource();
}

void CDocExtractBitmapColors::itemNotification(CMVT_Parameter* item)
{
    if (item == &diffuse)
        extract(CBitmapColorExtraction::Map::Diffuse);
    else if (item == &bump)
        extract(CBitmapColorExtraction::Map::Bump);
    else if (item == &bitmap)
        showSource();
}

void CDocExtractBitmapColors::showSource()
{
    QImageReader reader(QString::fromLocal8Bit(bitmap.valueText().c_str()));
    reader.setAutoTransform(true);
    bitmap.setPicture(reader.read());
}

int CDocExtractBitmapColors::extract(CBitmapColorExtraction::Map map)
{
    int written = 0;
    {
        WaitCursor wait;
        written = m_extraction.extract(bitmap.valueText(), map);
    }
    // The picture keeps the converted image, as the file was written.
    bitmap.setPicture(m_extraction.picture().imageView());
    bitmap.fileField()->refresh();
    if (written)
        CUiServices::showStatus(std::string(map == CBitmapColorExtraction::Map::Diffuse ? "Diffuse" : "Bump") +
                                " map written to " + m_extraction.lastOutput());
    return written;
}
