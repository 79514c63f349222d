#pragma once

#include <QDateTime>
#include <QPlainTextEdit>

#include <cstdint>
#include <string>

// An edit field that holds a typed value (text, real, integer or date) with
// its bounds. What the user types is parsed back into the value after every
// change; a value outside its bounds is kept and shown but marks the field
// invalid. Single-line types stay on one line; multi-line text moves the
// focus on Tab instead of inserting one.
class CMVT_EditTyped : public QPlainTextEdit {
    Q_OBJECT
public:
    enum Type : int { TypeNone = 0, TypeText = 1, TypeMultiLineText = 2, TypeFloat = 3, TypeInteger = 4, TypeDate = 5 };

    explicit CMVT_EditTyped(QWidget* parent = nullptr, int type = TypeText);

    // Codes outside 0..5 are refused and replaced by 0 (answer 0).
    int setType(int type);
    int type() const { return m_type; }
    bool isMultiLine() const { return m_type == TypeMultiLineText; }

    void setTextValue(const std::string& text);
    const std::string& textValue() const { return m_text; }
    void setTextBounds(int minLength, int maxLength);
    int minLength() const { return m_minLength; }
    int maxLength() const { return m_maxLength; }

    void setFloatValue(double value);
    double floatValue() const { return m_float; }
    void setFloatBounds(double minimum, double maximum);
    double floatMin() const { return m_floatMin; }
    double floatMax() const { return m_floatMax; }

    void setIntegerValue(std::int64_t value);
    std::int64_t integerValue() const { return m_integer; }
    void setIntegerBounds(std::int64_t minimum, std::int64_t maximum);
    std::int64_t integerMin() const { return m_integerMin; }
    std::int64_t integerMax() const { return m_integerMax; }

    void setDateValue(const QDateTime& value);
    QDateTime dateValue() const { return m_date; }
    static QDateTime dateMin();
    static QDateTime dateMax();

    // Whether the last value lies within its bounds.
    bool isValid() const { return m_valid; }

    // How many characters the field takes.
    void setEditLimit(int limit);
    int editLimit() const { return m_editLimit; }
    int currentLength() const;

    // Whether the field is being edited (it shows the editing forms then).
    bool isEditing() const { return m_editing; }
    // The text the field shows, as bytes.
    std::string shownText() const;

    // Parses the shown text into the typed value (as after a key).
    void reparse();

    // Writes the value in the form for the current focus state; tests and
    // the sheet use it to flip the editing state without a real focus.
    void setEditing(bool editing);

signals:
    // The user changed the text; the value has been parsed from it.
    void valueEdited();
    // The status line that describes the field should be rebuilt.
    void statusChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void showValue();
    void onTextChanged();
    void updateValid();
    void applyLineMode();

    int m_type = TypeText;
    std::string m_text;
    int m_minLength = 0;
    int m_maxLength;
    double m_float = 0.0;
    double m_floatMin;
    double m_floatMax;
    std::int64_t m_integer = 0;
    std::int64_t m_integerMin;
    std::int64_t m_integerMax;
    QDateTime m_date;
    bool m_valid = true;
    bool m_editing = false;
    bool m_writing = false;
    int m_editLimit;
};
