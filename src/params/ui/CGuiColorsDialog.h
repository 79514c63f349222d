#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class CMVT_ParamColor;
class CMVT_ParameterList;

// "Graphical User Interface Colors": the thirteen colours as a parameter
// sheet, grouped under their titles, each starting at its current value.
// The dialog only collects the choice; CGuiColors::edit() applies it.
class CGuiColorsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Graphical User Interface Colors";

    explicit CGuiColorsDialog(QWidget* parent = nullptr);

    std::uint32_t chosenRgb(int index) const;
    CMVT_ParamColor* colorItem(int index) const;
    CMVT_ParameterList* sheet() const { return m_sheet; }

private:
    CMVT_ParameterList* m_sheet;
    std::array<CMVT_ParamColor*, 13> m_items{};
};
