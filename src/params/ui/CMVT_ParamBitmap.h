#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <QImage>

class CMVT_ParamFilename;
class CResourceHolder;
class QLabel;

// A bitmap of a document named by its ID, shown as a small preview; or a
// picture of the tool's own (a waveform, a loaded image) shown at its size,
// optionally with a file name field of its own above it.
class CMVT_ParamBitmap : public CMVT_Parameter {
    Q_OBJECT
public:
    static constexpr int kPreviewSize = 64;

    explicit CMVT_ParamBitmap(QWidget* parent = nullptr);
    const char* kindName() const override { return "Bitmap"; }

    // The holder is not owned and must outlive the item (or be reset).
    void setHolder(const CResourceHolder* holder);
    void setBitmapName(const std::string& name);
    const std::string& bitmapName() const { return m_bitmap; }
    // Whether the name finds a bitmap with a picture.
    bool hasPicture() const;
    // The bitmap's ID beside its preview; a picture shown for itself (in an
    // About window, a test dialog) goes without it.
    void setNameShown(bool shown);

    // The tool's own picture, shown at its size up to kLargestShown (larger
    // ones are scaled down keeping their shape). A null picture shows "None".
    static constexpr int kLargestShown = 1024;
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

    // A file name field above the picture; its edits notify as this item's
    // own, and its path is this item's value.
    CMVT_ParamFilename* addFileField(const std::string& label, const std::string& filter);
    CMVT_ParamFilename* fileField() const { return m_file; }
    bool hasValue() const override { return m_file != nullptr; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;

private:
    void showPreview();

    const CResourceHolder* m_holder = nullptr;
    std::string m_bitmap;
    QLabel* m_preview;
    QLabel* m_caption;
    QImage m_picture;
    CMVT_ParamFilename* m_file = nullptr;
};
