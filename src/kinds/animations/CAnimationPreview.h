#pragma once

#include "kinds/animations/CAnimationCursor.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <atomic>
#include <mutex>
#include <string>

class CDisplayBuffer;
class CResourceHolder;

// The frame editor's live preview: a cursor playing the current animation on
// the game step clock, the origin the frames are drawn at, and the picture
// drawn into a display buffer. Steps arrive on the timer thread; everything
// else comes from the interface thread, so the cursor is only touched under
// the preview's own mutex and drawing works on a copy of it.
class CAnimationPreview {
public:
    static constexpr int kStartOrigin = 94;
    // Game steps a frame shown by the mouse stays before play resumes.
    static constexpr double kHoldSteps = 125.0;
    // How strongly the frame shown before the current one shows through.
    static constexpr double kOnionOpacity = 0.3;

    struct Colors {
        QColor face;
        QColor lines;
        QColor text;
    };

    void setDocument(const CResourceHolder* document);
    // Plays animation `index` from its first frame (stop, start, play).
    void restart(int index);
    int animationIndex() const;
    // A copy of the cursor as it stands.
    CAnimationCursor cursor() const;

    // Steps count only while the preview is on screen.
    void setShown(bool shown) { m_shown = shown; }
    bool isShown() const { return m_shown.load(); }
    // One game step: advances the cursor by one step while it plays. True
    // when the picture may have changed.
    bool step();
    // Shows frame `frame` and keeps it for kHoldSteps steps.
    void hold(int frame);

    QPoint origin() const { return m_origin; }
    void setOrigin(QPoint origin) { m_origin = origin; }
    bool onionSkin() const { return m_onionSkin; }
    void setOnionSkin(bool on) { m_onionSkin = on; }

    // Draws the preview into `target`, made a display buffer of kind 21 of
    // `size`: background, guide lines through the origin, the frame before
    // the current one faintly when onion skin is on, the current frame of a
    // type-1 animation at origin + its offsets, and the frame-rate text,
    // frame index, frame count and time left.
    // `view` maps the preview's units to the picture's pixels (a zoom and
    // scroll); the text stays at the picture's top left.
    void render(CDisplayBuffer& target, QSize size, const Colors& colors, const std::string& frameRateText,
                const QTransform& view = QTransform()) const;
    // What the frames draw, all of them at the origin with their offsets,
    // and the origin itself: what a view fitting the animation shows.
    QRect drawnBounds() const;
    // The frame shown just before the current one in the direction of play;
    // -1 without one.
    static int previousFrame(const CAnimationCursor& cursor);

private:
    mutable std::mutex m_mutex; // m_cursor
    CAnimationCursor m_cursor;
    std::atomic<bool> m_shown{false};
    QPoint m_origin{kStartOrigin, kStartOrigin};
    bool m_onionSkin = false;
};
