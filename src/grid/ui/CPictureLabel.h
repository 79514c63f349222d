#pragma once

#include <QImage>
#include <QLabel>

// The view beside a grid that shows a picture: it fills the room it is
// given and follows it as the window grows or shrinks. Without a picture it
// shows a text like any label.
class CPictureLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int kMargin = 12;

    explicit CPictureLabel(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void setMessage(const QString& html);
    const QImage& picture() const { return m_picture; }

    // The size a picture is shown at in a room: as large as fits, in its
    // own proportions.
    static QSize fittedSize(QSize picture, QSize room);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFitted();

    QImage m_picture;
};
