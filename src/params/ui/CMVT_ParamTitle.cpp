#include "params/ui/CMVT_ParamTitle.h"

#include <QLabel>

CMVT_ParamTitle::CMVT_ParamTitle(QWidget* parent) : CMVT_Parameter(parent), m_text(new QLabel(this))
{
    hideLabel();
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFont(fontForLevel(0));
    addControl(m_text, 1);
}

QFont CMVT_ParamTitle::fontForLevel(int level)
{
    struct Size {
        int height;
        int weight;
    };
    static constexpr Size kSizes[] = {{24, 400}, {22, 400}, {20, 400}, {19, 400}, {18, 400}, {17, 400},
                                      {16, 400}, {15, 400}, {14, 400}, {13, 400}, {12, 300}, {12, 200}};
    const Size s = (level >= 0 && level < 12) ? kSizes[level] : Size{12, 100};
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(s.height);
    font.setWeight(static_cast<QFont::Weight>(s.weight));
    return font;
}

void CMVT_ParamTitle::onLevelChanged() { m_text->setFont(fontForLevel(level())); }

void CMVT_ParamTitle::onLabelChanged() { m_text->setText(QString::fromStdString(plainLabel())); }

QString CMVT_ParamTitle::shownText() const { return m_text->text(); }
