#pragma once

#include <QImage>
#include <QLabel>

// The view beside a grid that shows a picture: it fills the room it is
// given and follows it as the window grows or shrinks. Without a picture it
// shows a text like any label.
class CPictureLabel : public QLabel {
public:
    static constexpr int kMargin = 12;

    explicit CPictureLabel(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void setMessage(const QString& html);
    const QImage& picture() const { return m_picture; }

    // The size a picture is shown at in a room: as large as fits, in its
    // own proportions.
    static QSize fittedSize(QSize picture, QSize room);

    // What it asks of the room is its own, never the picture's: a picture
    // fitted to the room would otherwise make the room grow.
    QSize sizeHint() const override { return {240, 240}; }
    QSize minimumSizeHint() const override { return {40, 40}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFitted();

    QImage m_picture;
};
