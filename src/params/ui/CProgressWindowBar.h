#pragma once

#include <QColor>
#include <QWidget>

#include <string>

// The progress window's bar: the part done and the part still to do, each a
// horizontal gradient from its own interface colour down to 40 % of it, with
// the percentage ("%.2f %%") centred over both.
class CProgressWindowBar : public QWidget {
    Q_OBJECT
public:
    // How dark the right end of each gradient is, as a factor of its colour.
    static constexpr double kGradientFactor = 0.4;

    explicit CProgressWindowBar(QWidget* parent = nullptr);

    void setProgress(double current, double minimum, double maximum);

    const std::string& percentText() const { return m_percent; }
    // Share done, held to 0..1 for drawing (a task may overshoot its range).
    double drawnFraction() const { return m_fraction; }
    // Where the done part ends between left and right.
    static int splitPosition(int left, int right, double fraction);
    // A colour with each channel scaled by the factor, rounded.
    static QColor scaled(const QColor& color, double factor);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_fraction = 0.0;
    std::string m_percent;
};
