#include "kinds/animations/ui/CSheetGridDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QSpinBox* spinBox(int minimum, int maximum, int value, const char* suffix = "")
{
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}
} // namespace

CSheetGridDialog::CSheetGridDialog(const QString& sheetName, QSize sheetSize, QWidget* parent)
    : QDialog(parent), m_sheet(sheetSize), m_columns(spinBox(1, 4096, 1)), m_rows(spinBox(1, 4096, 1)),
      m_margin(spinBox(0, 4096, 0, " px")), m_spacing(spinBox(0, 4096, 0, " px")),
      m_delay(spinBox(1, 60000, CSpriteSheet::Grid().delayMs, " ms")), m_frameSize(new QLabel)
{
    setWindowTitle(tr("Cut Sprite Sheet"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* intro = new QLabel(tr("%1 has no description beside it: cut it as a grid of equal frames, read "
                                "left to right, top to bottom. It is %2 x %3 pixels.")
                                 .arg(sheetName)
                                 .arg(sheetSize.width())
                                 .arg(sheetSize.height()));
    intro->setWordWrap(true);
    intro->setMinimumWidth(380);
    outer->addWidget(intro);
    outer->addLayout(form);
    form->addRow(tr("&Columns:"), m_columns);
    form->addRow(tr("&Rows:"), m_rows);
    form->addRow(tr("&Margin:"), m_margin);
    form->addRow(tr("&Spacing:"), m_spacing);
    form->addRow(tr("&Delay of each frame:"), m_delay);
    form->addRow(tr("Frame size:"), m_frameSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box : {m_columns, m_rows, m_margin, m_spacing})
        connect(box, &QSpinBox::valueChanged, this, [this, buttons] {
            showFrameSize();
            const CSpriteSheet::Grid g = grid();
            buttons->button(QDialogButtonBox::Ok)->setEnabled(CSpriteSheet::frameSize(m_sheet, g).isValid());
        });
    showFrameSize();
}

CSpriteSheet::Grid CSheetGridDialog::grid() const
{
    return {m_columns->value(), m_rows->value(), m_margin->value(), m_spacing->value(), m_delay->value()};
}

void CSheetGridDialog::showFrameSize()
{
    const QSize frame = CSpriteSheet::frameSize(m_sheet, grid());
    m_frameSize->setText(frame.isValid() ? tr("%1 x %2 pixels").arg(frame.width()).arg(frame.height())
                                         : tr("none: the margins and spacing leave no room"));
}

std::optional<CSpriteSheet::Grid> CSheetGridDialog::ask(const QString& sheetName, QSize sheetSize, QWidget* parent)
{
    CSheetGridDialog dialog(sheetName, sheetSize, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.grid();
}
