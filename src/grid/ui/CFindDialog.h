#pragma once

#include "grid/CItemsGridSearch.h"

#include <QDialog>

class CMVT_ParameterList;

// "Find Text": the search text and options as a parameter sheet, starting
// from the remembered ones.
class CFindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Find Text";

    explicit CFindDialog(const CFindOptions& start, QWidget* parent = nullptr);

    CFindOptions options() const;
    CMVT_ParameterList* sheet() const { return m_sheet; }

private:
    CMVT_ParameterList* m_sheet;
};
