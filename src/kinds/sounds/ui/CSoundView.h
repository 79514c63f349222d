#pragma once

#include <QWidget>

class CMVT_WavMemory;
class QStyledItemDelegate;

// A sound drawn as the grid draws it in its row: the waveform of
// uncompressed data, the summary of an Ogg stream. Used large beside the
// grid, and as the painter of the Specifications cells.
class CSoundView : public QWidget {
    Q_OBJECT
public:
    explicit CSoundView(QWidget* parent = nullptr);

    // The item is not owned; the panel sets it again on every change.
    void setSound(const CMVT_WavMemory* sound, bool swapChannels);
    const CMVT_WavMemory* sound() const { return m_sound; }

    // Draws `sound` into `rect` with the program's wave colours.
    static void paintSound(QPainter& painter, const QRect& rect, const CMVT_WavMemory& sound, bool swapChannels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CMVT_WavMemory* m_sound = nullptr;
    bool m_swapChannels = false;
};
