#include "tools/analysis/ui/CGradientColorEditor.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
// The map drawn across the widget, one colour per pixel column.
class GradientStrip : public QWidget {
public:
    GradientStrip(const CGradientColorMap& map, QWidget* parent) : QWidget(parent), m_map(map)
    {
        setMinimumHeight(32);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int w = width();
        for (int x = 0; x < w; ++x) {
            p.setPen(QColor::fromRgb(m_map.stripColor(x, 0, w)));
            p.drawLine(x, 0, x, height() - 1);
        }
    }

private:
    const CGradientColorMap& m_map;
};

QString formatted(const char* format, double value)
{
    char text[80];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}
} // namespace

CGradientColorEditor::CGradientColorEditor(const CGradientColorMap& map, QWidget* parent)
    : QDialog(parent),
      m_map(map),
      m_grid(new QTableWidget(this)),
      m_strip(new GradientStrip(m_map, this)),
      m_add(new QPushButton(tr("&Add Stop"), this)),
      m_remove(new QPushButton(tr("&Remove Stop"), this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    m_grid->setColumnCount(4);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Position"), QStringLiteral("Red"), QStringLiteral("Green"),
                                       QStringLiteral("Blue")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->verticalHeader()->setVisible(false);
    connect(m_grid, &QTableWidget::itemChanged, this, &CGradientColorEditor::onCellEdited);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(m_map.isMovable(selectedStop())); });
    connect(m_add, &QPushButton::clicked, this, &CGradientColorEditor::addStop);
    connect(m_remove, &QPushButton::clicked, this, &CGradientColorEditor::removeStop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* stopButtons = new QHBoxLayout;
    stopButtons->addWidget(m_add);
    stopButtons->addWidget(m_remove);
    stopButtons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(stopButtons);
    layout->addWidget(m_strip);
    layout->addWidget(buttons);
    resize(460, 360);
    fill();
    m_remove->setEnabled(false);
}

QString CGradientColorEditor::positionText(const CGradientColorMap& map, std::size_t index)
{
    const double position = map.stops()[index].position;
    return map.isMovable(index) ? formatted("%.14g", position) : formatted("Unmovable [ %.14g ]", position);
}

void CGradientColorEditor::fill()
{
    m_filling = true;
    m_grid->setRowCount(static_cast<int>(m_map.count()));
    for (std::size_t i = 0; i < m_map.count(); ++i) {
        const CGradientColorMap::Stop& stop = m_map.stops()[i];
        const int row = static_cast<int>(i);
        auto* position = new QTableWidgetItem(positionText(m_map, i));
        if (!m_map.isMovable(i))
            position->setFlags(position->flags() & ~Qt::ItemIsEditable);
        m_grid->setItem(row, 0, position);
        const int channels[3] = {stop.red, stop.green, stop.blue};
        for (int c = 0; c < 3; ++c)
            m_grid->setItem(row, c + 1, new QTableWidgetItem(QString::number(channels[c])));
    }
    m_filling = false;
    m_strip->update();
}

void CGradientColorEditor::onCellEdited(QTableWidgetItem* item)
{
    if (m_filling)
        return;
    const auto index = static_cast<std::size_t>(item->row());
    const QByteArray text = item->text().trimmed().toLatin1();
    char* end = nullptr;
    const double value = std::strtod(text.constData(), &end);
    const bool parsed = end != text.constData();
    std::size_t selected = index;
    if (parsed && item->column() == 0) {
        // The stop keeps its identity while the list is sorted again.
        const CGradientColorMap::Stop moved = m_map.stops()[index];
        if (m_map.setPosition(index, value))
            for (std::size_t i = 0; i < m_map.count(); ++i) {
                const CGradientColorMap::Stop& s = m_map.stops()[i];
                if (s.red == moved.red && s.green == moved.green && s.blue == moved.blue
                    && s.position == std::clamp(value, 0.0, 1.0))
                    selected = i;
            }
    } else if (parsed) {
        m_map.setChannel(index, item->column() - 1, value);
    }
    // Refilled after the edit has been committed, so the grid never changes
    // under its own editor.
    QMetaObject::invokeMethod(this, [this, selected] {
        fill();
        select(selected);
    }, Qt::QueuedConnection);
}

std::size_t CGradientColorEditor::selectedStop() const
{
    const QList<QTableWidgetItem*> items = m_grid->selectedItems();
    return items.isEmpty() ? m_map.count() : static_cast<std::size_t>(items.front()->row());
}

void CGradientColorEditor::select(std::size_t index)
{
    if (index < m_map.count())
        m_grid->selectRow(static_cast<int>(index));
}

void CGradientColorEditor::addStop()
{
    std::size_t from = selectedStop();
    if (from + 1 >= m_map.count())
        from = m_map.count() >= 2 ? m_map.count() - 2 : 0;
    const double position = (m_map.stops()[from].position + m_map.stops()[from + 1].position) / 2.0;
    const std::size_t added = m_map.addStop(position);
    fill();
    select(added);
}

void CGradientColorEditor::removeStop()
{
    const std::size_t index = selectedStop();
    if (!m_map.removeStop(index))
        return;
    fill();
    select(std::min(index, m_map.count() - 1));
}
