#include "params/ui/CMVT_Parameter.h"

#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_Static.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

CMVT_Parameter::CMVT_Parameter(QWidget* parent)
    : QWidget(parent), m_static(new CMVT_Static(this)), m_layout(new QVBoxLayout(this)), m_row(new QHBoxLayout)
{
    m_layout->setContentsMargins(0, 2, 4, 2);
    m_layout->setSpacing(2);
    m_layout->addWidget(m_static);
    m_layout->addLayout(m_row);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(4);
    applyIndent();
    refreshLabel();
}

void CMVT_Parameter::setLevel(int level)
{
    m_level = level;
    applyIndent();
    onLevelChanged();
}

void CMVT_Parameter::applyIndent()
{
    const int indent = std::max(0, m_level) * kIndentPerLevel;
    m_layout->setContentsMargins(indent + 4, 2, 4, 2);
}

void CMVT_Parameter::setLabel(const std::string& label)
{
    m_label = label;
    refreshLabel();
    onLabelChanged();
}

std::string CMVT_Parameter::plainLabel() const
{
    std::string out;
    for (std::size_t i = 0; i < m_label.size(); ++i) {
        if (m_label[i] == '&') {
            if (i + 1 < m_label.size() && m_label[i + 1] == '&')
                out += m_label[++i];
            continue;
        }
        out += m_label[i];
    }
    return out;
}

std::string CMVT_Parameter::labelLine() const
{
    const CMVT_EditTyped* e = edit();
    if (e && e->isEditing())
        return plainLabel() + statusText();
    // An item without a label (a picture on its own) shows no lone colon.
    const std::string label = plainLabel();
    return label.empty() ? label : label + ":";
}

void CMVT_Parameter::refreshLabel()
{
    m_static->setText(QString::fromStdString(labelLine()));
}

void CMVT_Parameter::notifyChanged()
{
    refreshLabel();
    emit itemChanged(this);
}

void CMVT_Parameter::addControl(QWidget* control, int stretch)
{
    m_row->addWidget(control, stretch);
}

void CMVT_Parameter::insertControl(int position, QWidget* control) { m_row->insertWidget(position, control); }

void CMVT_Parameter::addLine(QWidget* line) { m_layout->insertWidget(m_layout->count() - 1, line); }

void CMVT_Parameter::addStretch() { m_row->addStretch(1); }

void CMVT_Parameter::hideLabel()
{
    m_static->hide();
}

void CMVT_Parameter::watchEdit(CMVT_EditTyped* e)
{
    connect(e, &CMVT_EditTyped::statusChanged, this, &CMVT_Parameter::refreshLabel);
    connect(e, &CMVT_EditTyped::valueEdited, this, &CMVT_Parameter::notifyChanged);
}

void CMVT_Parameter::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (std::string(kindName()) != "Base")
        return;
    // An item of no particular kind shows what it is, so that a sheet built
    // with a wrong kind is easy to spot.
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect().adjusted(4 + m_level * kIndentPerLevel, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(std::string(kindName()) + " ID: " + m_name));
}
