#pragma once

#include "params/ui/CMVT_Parameter.h"

class QPushButton;
class QToolButton;

// One path with a browse button and the icon of what the path names.
// Modes: 0 open an existing file, 1 save, 2 to 5 a folder (modes 4 and 5
// leave the disk out of the status line).
class CMVT_ParamFilename : public CMVT_Parameter {
    Q_OBJECT
public:
    static constexpr const char* kDefaultFilter =
        "Windows WAV Audio File (*.wav;*.raw)\n*.wav;*.raw\nAll Files (*.*)\n*.*\n\n";

    explicit CMVT_ParamFilename(QWidget* parent = nullptr);
    const char* kindName() const override { return "Filename"; }

    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    void setFilter(const std::string& filter) { m_filter = filter; }
    const std::string& filter() const { return m_filter; }
    void setPath(const std::string& path);
    const std::string& path() const;
    // Takes the path in again: icon and status line.
    void refresh();

    // Opens the chooser for the mode; true when a path was taken.
    bool browse();

    CMVT_EditTyped* edit() const override { return m_edit; }
    std::string statusText() const override;
    QToolButton* iconButton() const { return m_icon; }

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = path(); }
    void resetToDefault() override
    {
        setPath(m_default);
        refresh();
    }

private:
    CMVT_EditTyped* m_edit;
    QPushButton* m_browse;
    QToolButton* m_icon;
    int m_mode = 0;
    std::string m_filter = kDefaultFilter;
    std::string m_default;
};
