#pragma once

#include "params/ui/CMVT_Parameter.h"

class CResourceHolder;
class QLabel;

// A bitmap of a document named by its ID, shown as a small preview.
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

private:
    void showPreview();

    const CResourceHolder* m_holder = nullptr;
    std::string m_bitmap;
    QLabel* m_preview;
    QLabel* m_caption;
};
