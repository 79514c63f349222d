#include "tools/videoconversion/ui/CVideoConversionDialogs.h"

#include "core/IPrompter.h"
#include "media/image/CMovieWriter.h"
#include "params/ui/CMVT_ParamBoolean.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CParametersDialog.h"
#include "params/ui/CUiServices.h"
#include "tools/videoconversion/CImagesToMovie.h"
#include "tools/videoconversion/CMovieToImages.h"
#include "tools/videoconversion/ui/CCompressionDialog.h"
#include "tools/videoconversion/ui/CInterfaceConversion.h"

#include <memory>

namespace {
const char* const kAviFilter = "Windows AVI Video File (*.avi)\n*.avi\nAll Files (*.*)\n*.*\n\n";
const char* const kBmpFilter = "Windows BMP Images Files (*.bmp)\n*.bmp\nAll Files (*.*)\n*.*\n\n";
const char* const kImagesFilter =
    "Windows Images Files (*.bmp;*.jpg;*.png;*.tif;*.gif;*.exif;*.ico;*.wmf;*.emf)\n"
    "*.bmp;*.jpg;*.png;*.tif;*.gif;*.exif;*.ico;*.wmf;*.emf\nAll Files (*.*)\n*.*\n\n";
constexpr int kOpen = 0;
constexpr int kSave = 1;

// Both sheets keep their fields between uses and refuse a destination that
// names no file before they close.
void refuseWithoutDestination(CParametersDialog* dialog, const char* message)
{
    dialog->rememberValues();
    dialog->setAcceptCheck([dialog, message]() -> std::string {
        const std::string destination = dialog->sheet()->findAs<CMVT_ParamFilename>("destination")->path();
        return CConversionResult::namesAFile(destination) ? std::string() : std::string(message);
    });
}
} // namespace

CParametersDialog* CVideoConversionDialogs::createMovieToImages(QWidget* parent)
{
    auto* dialog = new CParametersDialog(kMovieToImagesTitle, false, parent);
    CMVT_ParameterList* sheet = dialog->sheet();
    sheet->addTitle(0, "", "Convert AVI File to Images Files");
    sheet->addFilename(1, "source", "&Source AVI Filename", kOpen, kAviFilter, "");
    sheet->addBoolean(1, "alpha", "Extract &Alpha Channel", true);
    sheet->addFilename(1, "destination", "&Destination Images Filenames", kSave, kBmpFilter, "");
    dialog->resize(560, 300);
    refuseWithoutDestination(dialog, CVideoConversionDialogs::kNoImagesDestination);
    return dialog;
}

CParametersDialog* CVideoConversionDialogs::createImagesToMovie(QWidget* parent)
{
    auto* dialog = new CParametersDialog(kImagesToMovieTitle, false, parent);
    CMVT_ParameterList* sheet = dialog->sheet();
    sheet->addTitle(0, "", "Convert Images Files to AVI File");
    sheet->addFilenames(1, "sources", "&Source Images Filenames", "")->setFilter(kImagesFilter);
    sheet->addInteger(1, "fps", "&Frame Rate In Frame Per Second", 1, 1000, 25);
    sheet->addInteger(1, "width", "Video &Width In Pixels", 1, 16384, 720);
    sheet->addInteger(1, "height", "Video &Height In Pixels", 1, 16384, 576);
    sheet->addFilename(1, "destination", "&Destination AVI Filename", kSave, kAviFilter, "");
    dialog->resize(560, 480);
    refuseWithoutDestination(dialog, CVideoConversionDialogs::kNoMovieDestination);
    return dialog;
}

void CVideoConversionDialogs::movieToImages(QWidget* parent, QStatusBar* statusBar)
{
    std::unique_ptr<CParametersDialog> dialog(createMovieToImages(parent));
    if (dialog->exec() != QDialog::Accepted)
        return;
    const CMVT_ParameterList* sheet = dialog->sheet();
    const std::string source = sheet->findAs<CMVT_ParamFilename>("source")->path();
    const std::string destination = sheet->findAs<CMVT_ParamFilename>("destination")->path();
    const bool alpha = sheet->findAs<CMVT_ParamBoolean>("alpha")->value();
    dialog.reset();
    CInterfaceConversion run(statusBar);
    run.showEnd(CMovieToImages().run(source, destination, alpha, run.progress()));
}

void CVideoConversionDialogs::imagesToMovie(QWidget* parent, QStatusBar* statusBar)
{
    std::unique_ptr<CParametersDialog> dialog(createImagesToMovie(parent));
    if (dialog->exec() != QDialog::Accepted)
        return;
    const CMVT_ParameterList* sheet = dialog->sheet();
    const std::vector<std::string> sources = sheet->findAs<CMVT_ParamFilenames>("sources")->fileNames();
    CImagesToMovie::Settings settings;
    settings.framesPerSecond = int(sheet->findAs<CMVT_ParamInteger>("fps")->value());
    settings.width = int(sheet->findAs<CMVT_ParamInteger>("width")->value());
    settings.height = int(sheet->findAs<CMVT_ParamInteger>("height")->value());
    const std::string destination = sheet->findAs<CMVT_ParamFilename>("destination")->path();
    dialog.reset();
    CCompressionChooser chooser(parent);
    CMovieWriter writer(&CUiServices::prompter());
    writer.setCompressionChooser(&chooser);
    CInterfaceConversion run(statusBar);
    run.showEnd(CImagesToMovie().run(sources, destination, settings, writer, run.progress()));
}
