#include "params/ui/CMVT_ParameterList.h"

#include "params/ui/CGuiColors.h"
#include "params/ui/CMVT_ParamBitmap.h"
#include "params/ui/CMVT_ParamBoolean.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamColor.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParamTitle.h"

#include "params/CParameterValues.h"

#include <QSettings>
#include <QVBoxLayout>

#include <memory>

CMVT_ParameterList::CMVT_ParameterList(QWidget* parent)
    : QScrollArea(parent), m_body(new QWidget), m_layout(new QVBoxLayout(m_body))
{
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    setWidget(m_body);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    m_body->setAutoFillBackground(true);
    applyColors();
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, &CMVT_ParameterList::applyColors);
}

void CMVT_ParameterList::applyColors()
{
    const QPalette p = CGuiColors::instance().dialogPalette(palette());
    setPalette(p);
    m_body->setPalette(p);
}

void CMVT_ParameterList::addItem(CMVT_Parameter* item)
{
    if (!item)
        return;
    // Before the closing stretch, so the items stay packed at the top.
    m_layout->insertWidget(m_layout->count() - 1, item);
    m_items.emplace_back(item);
    connect(item, &CMVT_Parameter::itemChanged, this, &CMVT_ParameterList::itemChanged);
    if (auto* bar = qobject_cast<CMVT_ParamToolBar*>(item))
        connect(bar, &CMVT_ParamToolBar::commandTriggered, this, &CMVT_ParameterList::commandTriggered);
}

int CMVT_ParameterList::count() const { return static_cast<int>(m_items.size()); }

CMVT_Parameter* CMVT_ParameterList::item(int i) const
{
    return (i >= 0 && i < count()) ? m_items[static_cast<std::size_t>(i)].data() : nullptr;
}

CMVT_Parameter* CMVT_ParameterList::find(const std::string& name) const
{
    const QString wanted = QString::fromStdString(name);
    for (const auto& it : m_items)
        if (it && QString::fromStdString(it->name()).compare(wanted, Qt::CaseInsensitive) == 0)
            return it.data();
    return nullptr;
}

CMVT_Parameter* CMVT_ParameterList::itemContaining(const QWidget* widget) const
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        for (const auto& it : m_items)
            if (it.data() == w)
                return it.data();
    return nullptr;
}

template <class T> T* CMVT_ParameterList::make(int level, const std::string& name, const std::string& label)
{
    auto* item = new T(m_body);
    item->setLevel(level);
    item->setName(name);
    item->setLabel(label);
    return item;
}

CMVT_ParamTitle* CMVT_ParameterList::addTitle(int level, const std::string& name, const std::string& label)
{
    auto* item = make<CMVT_ParamTitle>(level, name, label);
    addItem(item);
    return item;
}

CMVT_ParamInfo* CMVT_ParameterList::addInfo(int level, const std::string& name, const std::string& label)
{
    auto* item = make<CMVT_ParamInfo>(level, name, label);
    addItem(item);
    return item;
}

CMVT_ParamButton* CMVT_ParameterList::addButton(int level, const std::string& name, const std::string& label)
{
    auto* item = make<CMVT_ParamButton>(level, name, label);
    addItem(item);
    return item;
}

CMVT_ParamToolBar* CMVT_ParameterList::addToolBar(int level, const std::string& name,
                                                  const std::vector<CMVT_ParamToolBar::Button>& buttons)
{
    auto* item = make<CMVT_ParamToolBar>(level, name, {});
    for (const auto& b : buttons)
        item->addButton(b);
    addItem(item);
    return item;
}

CMVT_ParamBoolean* CMVT_ParameterList::addBoolean(int level, const std::string& name, const std::string& label,
                                                  bool value)
{
    auto* item = make<CMVT_ParamBoolean>(level, name, label);
    item->setValue(value);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamInteger* CMVT_ParameterList::addInteger(int level, const std::string& name, const std::string& label,
                                                  std::int64_t minimum, std::int64_t maximum, std::int64_t value)
{
    auto* item = make<CMVT_ParamInteger>(level, name, label);
    item->setMinimum(minimum);
    item->setMaximum(maximum);
    item->setValue(value);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamFloat* CMVT_ParameterList::addFloat(int level, const std::string& name, const std::string& label,
                                              double minimum, double maximum, double value)
{
    auto* item = make<CMVT_ParamFloat>(level, name, label);
    item->setMinimum(minimum);
    item->setMaximum(maximum);
    item->setValue(value);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamText* CMVT_ParameterList::addText(int level, const std::string& name, const std::string& label,
                                            const std::string& value, bool multiLine)
{
    auto* item = make<CMVT_ParamText>(level, name, label);
    item->setMultiLine(multiLine);
    item->setValue(value);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamFilename* CMVT_ParameterList::addFilename(int level, const std::string& name, const std::string& label,
                                                    int mode, const std::string& filter, const std::string& path)
{
    auto* item = make<CMVT_ParamFilename>(level, name, label);
    item->setMode(mode);
    if (!filter.empty())
        item->setFilter(filter);
    item->setPath(path);
    item->refresh();
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamFilenames* CMVT_ParameterList::addFilenames(int level, const std::string& name, const std::string& label,
                                                      const std::string& list)
{
    auto* item = make<CMVT_ParamFilenames>(level, name, label);
    item->setText(list);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamColor* CMVT_ParameterList::addColor(int level, const std::string& name, const std::string& label,
                                              std::uint32_t rgb)
{
    auto* item = make<CMVT_ParamColor>(level, name, label);
    item->setValue(rgb);
    item->rememberDefault();
    addItem(item);
    return item;
}

CMVT_ParamBitmap* CMVT_ParameterList::addBitmap(int level, const std::string& name, const std::string& label,
                                                const CResourceHolder* holder, const std::string& bitmap)
{
    auto* item = make<CMVT_ParamBitmap>(level, name, label);
    item->setHolder(holder);
    item->setBitmapName(bitmap);
    addItem(item);
    return item;
}

void CMVT_ParameterList::resetToDefaults()
{
    for (const auto& it : m_items)
        if (it)
            it->resetToDefault();
}

// --- values by name and between runs ---------------------------------------

namespace {
QString g_memoryFile;

std::string keyOf(const CMVT_Parameter& item) { return item.name().empty() ? item.plainLabel() : item.name(); }

std::unique_ptr<QSettings> memory()
{
    if (!g_memoryFile.isEmpty())
        return std::make_unique<QSettings>(g_memoryFile, QSettings::IniFormat);
    // The program's own settings, where the recent files are kept too.
    return std::make_unique<QSettings>(QStringLiteral("Local AppWizard-Generated Applications"),
                                       QStringLiteral("Quillop"));
}

QString memoryKey(const std::string& tool)
{
    return QStringLiteral("Tool Parameters/") + QString::fromStdString(tool);
}
} // namespace

void CMVT_ParameterList::setMemoryFile(const QString& iniPath) { g_memoryFile = iniPath; }

CParameterValues CMVT_ParameterList::values() const
{
    CParameterValues out;
    for (int i = 0; i < count(); ++i)
        if (const CMVT_Parameter* one = item(i); one && one->hasValue())
            out.set(keyOf(*one), one->valueText());
    return out;
}

void CMVT_ParameterList::applyValues(const CParameterValues& values)
{
    for (int i = 0; i < count(); ++i)
        if (CMVT_Parameter* one = item(i); one && one->hasValue())
            if (const std::string* text = values.find(keyOf(*one)))
                one->setValueText(*text);
}

void CMVT_ParameterList::rememberValues(const std::string& tool) const
{
    memory()->setValue(memoryKey(tool), QString::fromStdString(values().toText(tool)));
}

bool CMVT_ParameterList::recallValues(const std::string& tool)
{
    const QString text = memory()->value(memoryKey(tool)).toString();
    CParameterValues remembered;
    std::string title;
    if (text.isEmpty() || !remembered.fromText(text.toStdString(), title) || title != tool)
        return false;
    applyValues(remembered);
    return true;
}
