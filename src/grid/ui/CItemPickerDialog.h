#pragma once

#include "grid/CItemFilter.h"

#include <QDialog>

#include <vector>

class CItemPickerModel;
class CResourceHolder;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

// Picks an item of one group by name and picture: the items as
// "index - ID" with a thumbnail (bitmaps, an animation's first frame) or a
// swatch (colours), a first row for "none" (-1), and a line above them that
// keeps only the items matching what is typed (see CItemFilter). The arrow
// keys move in the list while typing; Enter or a double-click chooses,
// Escape leaves everything as it was. The list draws only the rows in view,
// so a group of many thousands opens and filters at once.
class CItemPickerDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kNoneText = "(none)";
    static constexpr int kThumbnailHeight = 32;
    static constexpr int kThumbnailWidth = 48;

    CItemPickerDialog(const CResourceHolder* document, int group, int current, QWidget* parent = nullptr);
    ~CItemPickerDialog() override;

    // "Pick Bitmap", "Pick Trajectory" ...
    static QString titleFor(int group);

    // The index of the row chosen (the current row), -1 for "none".
    int chosenIndex() const;
    // The indices listed, in order (-1 first for "none" while nothing is typed).
    std::vector<int> listedIndices() const;
    QLineEdit* filterLine() const { return m_filter; }
    QListView* list() const { return m_list; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    void selectIndex(int index);

    CItemFilter m_items;
    CItemPickerModel* m_model;
    QLineEdit* m_filter;
    QListView* m_list;
    QLabel* m_count;
    QPushButton* m_ok = nullptr;
};
