#pragma once

#include <QAbstractButton>
#include <QImage>

// A button drawn from pictures: its "up" background stretched behind it (the
// "down" one while pressed or checked), then its picture, its title and its
// right-hand picture side by side, centred; without a background picture,
// the button face colour. A frame is drawn only when the border is on.
// Without any picture it looks like an ordinary push button.
class CPictureButton : public QAbstractButton {
    Q_OBJECT
public:
    struct Pictures {
        QImage image;
        QImage imageRight;
        QImage backgroundUp;
        QImage backgroundDown;

        bool any() const
        {
            return !image.isNull() || !imageRight.isNull() || !backgroundUp.isNull() || !backgroundDown.isNull();
        }
    };

    // Between the picture, the title and the right-hand picture, and around them.
    static constexpr int kSpacing = 4;
    static constexpr int kMargin = 4;

    explicit CPictureButton(QWidget* parent = nullptr);

    void setPictures(const Pictures& pictures);
    const Pictures& pictures() const { return m_pictures; }
    void setBorder(bool border);
    bool hasBorder() const { return m_border; }

    // Where the picture, the title and the right-hand picture go inside the
    // current size; an empty rectangle for a part the button lacks.
    struct Placement {
        QRect image;
        QRect title;
        QRect imageRight;
    };
    Placement placement() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressedLook() const { return isDown() || isChecked(); }
    QSize titleSize() const;
    QSize contentSize() const;
    void paintPictureLook(class QPainter& painter);

    Pictures m_pictures;
    bool m_border = false;
};
