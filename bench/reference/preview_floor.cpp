// The least a playing preview can cost through the window system: a window
// of the editor's size that repaints a caption-sized corner with a changing
// figure at every 16 ms game step, as the world preview does at the least.
// It takes (and ignores) the editor's arguments so that the same
// measuring script runs both.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {
class CStepFigure : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(kCorner, Qt::darkBlue);
        painter.setPen(Qt::white);
        painter.drawText(kCorner, Qt::AlignLeft | Qt::AlignTop, QString::asprintf("%.2f", double(m_steps++)));
    }

public:
    static constexpr QRect kCorner{4, 4, 120, 50};

private:
    int m_steps = 0;
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CStepFigure window;
    window.resize(1200, 800);
    window.show();
    QTimer steps;
    steps.setTimerType(Qt::PreciseTimer);
    QObject::connect(&steps, &QTimer::timeout, &window, [&] { window.update(CStepFigure::kCorner); });
    steps.start(16);
    return app.exec();
}
