#include "kinds/worlds/ui/CCaptionWriter.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QString>
#include <QVarLengthArray>

#include <cmath>

void CCaptionWriter::takeFont(const QFont& font)
{
    m_font = font;
    m_raw = QRawFont::fromFont(font);
    m_maxAdvance = QFontMetrics(font).maxWidth();
    m_glyphs.fill(0);
    if (!m_raw.isValid())
        return;
    QString latin1;
    for (int c = 0; c < 256; ++c)
        latin1 += QChar(c);
    const QList<quint32> glyphs = m_raw.glyphIndexesForString(latin1);
    if (glyphs.size() != latin1.size())
        return;
    const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs);
    for (int c = 0; c < 256; ++c) {
        m_glyphs[std::size_t(c)] = glyphs[c];
        m_advances[std::size_t(c)] = advances[c].x();
    }
}

std::optional<int> CCaptionWriter::writeUnshaped(QPainter& painter, QPointF baseline, const QString& line) const
{
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    glyphs.reserve(line.size());
    positions.reserve(line.size());
    qreal at = 0;
    for (const QChar c : line) {
        // A control character, or one the font lacks and another font
        // would supply, needs shaping.
        const quint32 glyph = c.unicode() >= 0x20 && c.unicode() <= 0xFF ? m_glyphs[c.unicode()] : 0;
        if (glyph == 0)
            return std::nullopt;
        glyphs.push_back(glyph);
        positions.push_back(QPointF(at, 0));
        at += m_advances[c.unicode()];
    }
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(baseline, run);
    return static_cast<int>(std::ceil(at)) + 1;
}

QRect CCaptionWriter::write(QPainter& painter, int left, int top, const QString& text)
{
    if (m_font != painter.font())
        takeFont(painter.font());
    const QFontMetrics metrics = painter.fontMetrics();
    QRect written;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QPoint baseline(left, top + metrics.ascent());
        std::optional<int> width = writeUnshaped(painter, baseline, line);
        if (!width) {
            painter.drawText(baseline, line);
            // No shaping makes a line wider than its characters' advances.
            width = 0;
            for (const QChar c : line)
                *width += metrics.horizontalAdvance(c);
        }
        written |= QRect(left, top, *width, metrics.height());
        top += metrics.lineSpacing();
    }
    return written;
}
