#include "params/ui/CMVT_EditTyped.h"

#include "params/CValueFormat.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {
// Grouping blanks are for reading; the value is the digits around them.
std::string withoutBlanks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            out += c;
    return out;
}

std::tm toTm(const QDateTime& when)
{
    std::tm tm{};
    const QDate d = when.date();
    const QTime t = when.time();
    tm.tm_year = d.year() - 1900;
    tm.tm_mon = d.month() - 1;
    tm.tm_mday = d.day();
    tm.tm_hour = t.hour();
    tm.tm_min = t.minute();
    tm.tm_sec = t.second();
    tm.tm_wday = d.dayOfWeek() % 7;
    tm.tm_yday = d.dayOfYear() - 1;
    tm.tm_isdst = -1;
    return tm;
}
} // namespace

CMVT_EditTyped::CMVT_EditTyped(QWidget* parent, int type)
    : QPlainTextEdit(parent),
      m_maxLength(INT_MAX),
      m_floatMin(-DBL_MAX),
      m_floatMax(DBL_MAX),
      m_integerMin(std::numeric_limits<std::int64_t>::min()),
      m_integerMax(std::numeric_limits<std::int64_t>::max()),
      m_date(QDateTime::currentDateTime()),
      m_editLimit(INT_MAX)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &CMVT_EditTyped::onTextChanged);
    setType(type);
}

int CMVT_EditTyped::setType(int type)
{
    const bool accepted = type >= TypeNone && type <= TypeDate;
    m_type = accepted ? type : TypeNone;
    applyLineMode();
    updateValid();
    showValue();
    return accepted ? 1 : 0;
}

void CMVT_EditTyped::applyLineMode()
{
    if (isMultiLine()) {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // A few lines tall: a sheet shows many items, and the field scrolls.
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setFixedHeight(fontMetrics().lineSpacing() * 5 + 2 * (frameWidth() + static_cast<int>(document()->documentMargin())));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int h = fontMetrics().lineSpacing() + 2 * (frameWidth() + static_cast<int>(document()->documentMargin()));
        setFixedHeight(h);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
}

void CMVT_EditTyped::setTextValue(const std::string& text)
{
    m_text = text;
    updateValid();
    showValue();
}

void CMVT_EditTyped::setTextBounds(int minLength, int maxLength)
{
    m_minLength = minLength;
    m_maxLength = maxLength;
    updateValid();
}

void CMVT_EditTyped::setFloatValue(double value)
{
    m_float = value;
    updateValid();
    showValue();
}

void CMVT_EditTyped::setFloatBounds(double minimum, double maximum)
{
    m_floatMin = minimum;
    m_floatMax = maximum;
    updateValid();
}

void CMVT_EditTyped::setIntegerValue(std::int64_t value)
{
    m_integer = value;
    updateValid();
    showValue();
}

void CMVT_EditTyped::setIntegerBounds(std::int64_t minimum, std::int64_t maximum)
{
    m_integerMin = minimum;
    m_integerMax = maximum;
    updateValid();
}

void CMVT_EditTyped::setDateValue(const QDateTime& value)
{
    m_date = value;
    updateValid();
    showValue();
}

QDateTime CMVT_EditTyped::dateMin() { return QDateTime(QDate(100, 1, 1), QTime(0, 0, 0)); }
QDateTime CMVT_EditTyped::dateMax() { return QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)); }

void CMVT_EditTyped::updateValid()
{
    switch (m_type) {
    case TypeText:
    case TypeMultiLineText: {
        const auto n = static_cast<long long>(m_text.size());
        m_valid = n >= m_minLength && n <= m_maxLength;
        break;
    }
    // A NaN compares false both ways: it lies within no bounds.
    case TypeFloat: m_valid = m_float >= m_floatMin && m_float <= m_floatMax; break;
    case TypeInteger: m_valid = m_integer >= m_integerMin && m_integer <= m_integerMax; break;
    case TypeDate: m_valid = m_date.isValid() && m_date >= dateMin() && m_date <= dateMax(); break;
    default: m_valid = true; break;
    }
}

void CMVT_EditTyped::setEditLimit(int limit)
{
    m_editLimit = limit < 0 ? 0 : limit;
}

int CMVT_EditTyped::currentLength() const { return static_cast<int>(toPlainText().toStdString().size()); }

std::string CMVT_EditTyped::shownText() const { return toPlainText().toStdString(); }

void CMVT_EditTyped::showValue()
{
    std::string text;
    switch (m_type) {
    case TypeText:
    case TypeMultiLineText: text = m_text; break;
    case TypeFloat: text = CValueFormat::floatText(m_float); break;
    case TypeInteger: text = CValueFormat::integerText(m_integer, !m_editing); break;
    case TypeDate: {
        const std::tm tm = toTm(m_date);
        text = CValueFormat::dateText(tm, m_editing);
        break;
    }
    default: break;
    }
    const QString shown = QString::fromStdString(text);
    if (shown == toPlainText())
        return;
    m_writing = true;
    setPlainText(shown);
    m_writing = false;
}

void CMVT_EditTyped::reparse()
{
    const std::string text = shownText();
    switch (m_type) {
    case TypeText:
    case TypeMultiLineText: m_text = text; break;
    case TypeFloat: {
        const std::string digits = withoutBlanks(text);
        // A text without a leading number reads as 0, as the sheet always did.
        m_float = std::strtod(digits.c_str(), nullptr);
        break;
    }
    case TypeInteger: {
        const std::string digits = withoutBlanks(text);
        errno = 0;
        const long long v = std::strtoll(digits.c_str(), nullptr, 10);
        m_integer = static_cast<std::int64_t>(v);
        break;
    }
    case TypeDate: {
        // The editing form is day/month/year; the time of day is kept.
        const QDate d = QDate::fromString(QString::fromStdString(text).trimmed(), QStringLiteral("d/M/yyyy"));
        if (d.isValid())
            m_date = QDateTime(d, m_date.time());
        break;
    }
    default: break;
    }
    updateValid();
}

void CMVT_EditTyped::onTextChanged()
{
    if (m_writing)
        return;
    if (currentLength() > m_editLimit) {
        // Over the limit: the field keeps what fits, like an edit control
        // refusing further keys.
        std::string text = shownText();
        text.resize(static_cast<std::size_t>(m_editLimit));
        m_writing = true;
        setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        moveCursor(QTextCursor::End);
        m_writing = false;
    }
    reparse();
    emit valueEdited();
    emit statusChanged();
}

void CMVT_EditTyped::setEditing(bool editing)
{
    if (m_editing == editing)
        return;
    // Leaving the field: whatever was typed becomes the value first, then
    // the value is written back in its shown form.
    m_editing = editing;
    showValue();
    emit statusChanged();
}

void CMVT_EditTyped::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier);
    if (mods == Qt::AltModifier && QWidget::mouseGrabber() == nullptr) {
        switch (event->key()) {
        case Qt::Key_C: copy(); return;
        case Qt::Key_V: paste(); return;
        case Qt::Key_X: cut(); return;
        case Qt::Key_Z: undo(); return;
        default: break;
        }
    }
    if (mods == Qt::ControlModifier && event->key() == Qt::Key_A) {
        selectAll();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isMultiLine() && enter) {
        // One line only: Enter belongs to the dialog's default button.
        event->ignore();
        return;
    }
    // Enter makes a new line of a text of several; Ctrl+Enter accepts the
    // dialog it is in, as in other editors' multi-line prompts.
    if (enter && mods == Qt::ControlModifier) {
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CMVT_EditTyped::insertFromMimeData(const QMimeData* source)
{
    if (isMultiLine() || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    insertPlainText(text);
}

void CMVT_EditTyped::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    setEditing(true);
}

void CMVT_EditTyped::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    setEditing(false);
}
