#pragma once

#include <QFont>
#include <QRawFont>
#include <QRect>

#include <array>
#include <optional>

class QPainter;
class QString;

// Writes a preview's caption, a few short lines rewritten at every game
// step. Latin-1 lines, the figures and most IDs, are laid out from a table
// of the font's glyphs and advances made once per font: shaping them would
// cost more than the rest of a step's repaint. Other lines are shaped as
// any text.
class CCaptionWriter {
public:
    // Writes `text`'s lines from (left, top) down in the painter's font and
    // pen, and says where it wrote.
    QRect write(QPainter& painter, int left, int top, const QString& text);
    // How far a line may grow to the right when a figure gains a digit or
    // two, in the font last written with.
    int growth() const { return 2 * m_maxAdvance; }

private:
    void takeFont(const QFont& font);
    // The line's width when it was written from the table.
    std::optional<int> writeUnshaped(QPainter& painter, QPointF baseline, const QString& line) const;

    std::optional<QFont> m_font;
    QRawFont m_raw;
    std::array<quint32, 256> m_glyphs{};
    std::array<qreal, 256> m_advances{};
    int m_maxAdvance = 0;
};
