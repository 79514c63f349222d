#pragma once

#include <QLabel>

// The label of a parameter item: plain text in the dialog colours, so that a
// value typed into a status line is never read as markup.
class CMVT_Static : public QLabel {
    Q_OBJECT
public:
    explicit CMVT_Static(QWidget* parent = nullptr);
};
