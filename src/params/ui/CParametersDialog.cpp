#include "params/ui/CParametersDialog.h"

#include "core/IPrompter.h"
#include "params/ui/CGuiColors.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CUiServices.h"

#include <QDialogButtonBox>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

CParametersDialog::CParametersDialog(const std::string& title, bool closeOnly, QWidget* parent)
    : QDialog(parent),
      m_sheet(new CMVT_ParameterList(this)),
      m_buttons(new QDialogButtonBox(closeOnly ? QDialogButtonBox::Close
                                               : QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                     this))
{
    setWindowTitle(QString::fromStdString(title));
    setSizeGripEnabled(true);
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_sheet, &CMVT_ParameterList::itemChanged, this, &CParametersDialog::itemNotification);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(m_buttons);
    resize(560, 420);
}

void CParametersDialog::addBelow(QWidget* widget, int stretch)
{
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->count() - 1, widget, stretch);
}

void CParametersDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Over the middle of the window it belongs to, and wholly on its screen:
    // a sheet taller than the room left would otherwise open under the
    // tool bar with its buttons out of reach.
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    if (room.isEmpty())
        return;
    resize(size().boundedTo(room.size() - (frameGeometry().size() - size())));
    const QRect over = parentWidget() ? parentWidget()->window()->frameGeometry() : room;
    QRect placed = frameGeometry();
    placed.moveCenter(over.center());
    placed.moveLeft(std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() - placed.height() + 1)));
    move(placed.topLeft());
}

void CParametersDialog::rememberValues()
{
    m_remembers = true;
    m_sheet->recallValues(windowTitle().toStdString());
}

void CParametersDialog::accept()
{
    if (m_acceptCheck) {
        const std::string problem = m_acceptCheck();
        if (!problem.empty()) {
            CUiServices::prompter().tell(problem, IPrompter::Icon::Exclamation);
            return;
        }
    }
    if (m_remembers)
        m_sheet->rememberValues(windowTitle().toStdString());
    QDialog::accept();
}
