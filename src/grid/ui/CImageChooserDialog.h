#pragma once

#include <QDialog>

class CIndexList;
class CResourceHolder;

// "Chose Image": the bitmaps of a document in an index list with the empty
// row, the current index selected. A double-click picks like OK.
class CImageChooserDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Chose Image";

    CImageChooserDialog(const CResourceHolder* document, int current, QWidget* parent = nullptr);

    int chosenIndex() const;
    CIndexList* list() const { return m_list; }

private:
    CIndexList* m_list;
};
