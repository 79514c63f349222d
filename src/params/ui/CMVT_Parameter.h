#pragma once

#include <QWidget>

#include <string>

class CMVT_EditTyped;
class CMVT_Static;
class QHBoxLayout;
class QVBoxLayout;

// One item of a parameter sheet: a label line over the item's controls,
// indented by its level. Kinds are told apart by their kind name. An item
// reports a changed value or a pressed button through itemChanged().
class CMVT_Parameter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kIndentPerLevel = 16;

    explicit CMVT_Parameter(QWidget* parent = nullptr);

    virtual const char* kindName() const { return "Base"; }

    void setLevel(int level);
    int level() const { return m_level; }
    void setLabel(const std::string& label);
    const std::string& label() const { return m_label; }
    // The label with its mnemonic "&" removed ("&&" reads as one "&").
    std::string plainLabel() const;
    // The identifier by-name sheets look items up with (case ignored).
    void setName(const std::string& name) { m_name = name; }
    const std::string& name() const { return m_name; }

    // The typed edit of editable kinds, else nullptr.
    virtual CMVT_EditTyped* edit() const { return nullptr; }
    // The status that follows the label while the edit has the focus
    // (": (...)"); kinds without one answer "".
    virtual std::string statusText() const { return {}; }
    // What the label line shows now.
    std::string labelLine() const;
    void refreshLabel();

    // Value kinds remember the value they were built with and can go back
    // to it (the factory reset of sheets built by name).
    virtual void rememberDefault() {}
    virtual void resetToDefault() {}

    // The value as text, for parameter files and the values a tool window
    // remembers between runs. Kinds without a value answer false.
    virtual bool hasValue() const { return false; }
    virtual std::string valueText() const { return {}; }
    virtual void setValueText(const std::string&) {}

    // Sends the item notification.
    void notifyChanged();

signals:
    void itemChanged(CMVT_Parameter* item);

protected:
    // Kinds whose control shows the label or depends on the level.
    virtual void onLabelChanged() {}
    virtual void onLevelChanged() {}
    void paintEvent(QPaintEvent* event) override;
    // Places a control on the item's control row (under the label).
    void addControl(QWidget* control, int stretch = 0);
    // Keeps the controls placed so far on the left of the row.
    void addStretch();
    void insertControl(int position, QWidget* control);
    // A whole line between the label and the control row.
    void addLine(QWidget* line);
    // Items without a label line (titles draw their own).
    void hideLabel();
    CMVT_Static* labelControl() const { return m_static; }
    // The label line follows the edit's focus and status.
    void watchEdit(CMVT_EditTyped* edit);

private:
    void applyIndent();

    std::string m_label;
    std::string m_name;
    int m_level = 0;
    CMVT_Static* m_static;
    QVBoxLayout* m_layout;
    QHBoxLayout* m_row;
};
