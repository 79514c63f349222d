#include "params/ui/CMVT_ParamToolBar.h"

CMVT_ParamToolBar::CMVT_ParamToolBar(QWidget* parent) : CMVT_Parameter(parent)
{
    hideLabel();
    addStretch();
}

void CMVT_ParamToolBar::addButton(const Button& button)
{
    auto* w = new CPictureButton(this);
    w->setText(QString::fromStdString(button.caption));
    w->setToolTip(QString::fromStdString(button.help));
    w->setStatusTip(QString::fromStdString(button.help));
    w->setObjectName(QString::fromStdString(button.command));
    w->setPictures(button.pictures);
    w->setBorder(button.border);
    insertControl(static_cast<int>(m_controls.size()), w);
    const QString command = QString::fromStdString(button.command);
    connect(w, &CPictureButton::clicked, this, [this, command] { emit commandTriggered(command); });
    m_buttons.push_back(button);
    m_widgets.push_back(w);
    m_controls.push_back(w);
}

void CMVT_ParamToolBar::addGap()
{
    auto* gap = new QWidget(this);
    gap->setFixedWidth(kGapWidth);
    insertControl(static_cast<int>(m_controls.size()), gap);
    m_controls.push_back(gap);
}

CPictureButton* CMVT_ParamToolBar::buttonFor(const std::string& command) const
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].command == command)
            return m_widgets[i];
    return nullptr;
}
