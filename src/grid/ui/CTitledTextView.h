#pragma once

#include <QString>
#include <QWidget>

// An item's ID as a title and, under it, a text about it (a binary file's
// source and size, a text record expanded), word-wrapped in the default GUI font.
class CTitledTextView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInset = 8;

    explicit CTitledTextView(QWidget* parent = nullptr);

    void setInfo(const QString& title, const QString& text);
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }

    // Where the text block goes: inset on each side, and vertically too
    // once the pane is tall enough for it.
    static QRect textArea(const QRect& pane);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_text;
};
