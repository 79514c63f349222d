#pragma once

#include "kinds/animations/CSpriteSheet.h"

#include <QDialog>

#include <optional>

class QSpinBox;
class QLabel;

// Asks how a sheet without a description is cut: columns and rows of equal
// frames, the margin around them and the spacing between them, and how long
// each frame shows. Says the frame size those give as they change.
class CSheetGridDialog : public QDialog {
    Q_OBJECT
public:
    CSheetGridDialog(const QString& sheetName, QSize sheetSize, QWidget* parent = nullptr);
    CSpriteSheet::Grid grid() const;

    // The grid, or none when the user cancelled.
    static std::optional<CSpriteSheet::Grid> ask(const QString& sheetName, QSize sheetSize, QWidget* parent);

private:
    void showFrameSize();

    QSize m_sheet;
    QSpinBox* m_columns;
    QSpinBox* m_rows;
    QSpinBox* m_margin;
    QSpinBox* m_spacing;
    QSpinBox* m_delay;
    QLabel* m_frameSize;
};
