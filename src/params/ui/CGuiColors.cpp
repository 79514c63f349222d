#include "params/ui/CGuiColors.h"

#include "params/ui/CGuiColorsDialog.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
struct Entry {
    const char* name;
    const char* group;
};

constexpr std::array<Entry, CGuiColors::Count> kEntries = {{
    {"Focused Area", "Focus Colors"},
    {"Unfocused Area", "Focus Colors"},
    {"Dialog Face", "Dialogs Colors"},
    {"Dialog Text", "Dialogs Colors"},
    {"Dialog Spotted Face", "Dialogs Colors"},
    {"Dialog Spotted Text", "Dialogs Colors"},
    {"Window Face", "Windows Colors"},
    {"Window Text", "Windows Colors"},
    {"Window Spotted Face", "Windows Colors"},
    {"Window Spotted Text", "Windows Colors"},
    {"Scroll Bar Background", "Scroll Bars Colors"},
    {"Scroll Bar", "Scroll Bars Colors"},
    {"Scroll Bar Moving", "Scroll Bars Colors"},
}};

bool validIndex(int i) { return i >= 0 && i < CGuiColors::Count; }
} // namespace

CGuiColors& CGuiColors::instance()
{
    static CGuiColors colors;
    return colors;
}

CGuiColors::CGuiColors()
{
    for (int i = 0; i < Count; ++i)
        m_colors[i] = defaultColor(i);
}

const char* CGuiColors::name(int index) { return validIndex(index) ? kEntries[index].name : ""; }
const char* CGuiColors::groupName(int index) { return validIndex(index) ? kEntries[index].group : ""; }

int CGuiColors::indexOf(const std::string& name)
{
    for (int i = 0; i < Count; ++i)
        if (name == kEntries[i].name)
            return i;
    return -1;
}

std::uint32_t CGuiColors::rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8)
         | (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

std::uint32_t CGuiColors::blend(std::uint32_t c, std::uint32_t t, double f)
{
    f = std::clamp(f, 0.0, 1.0);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double from = (c >> shift) & 0xFF;
        const double to = (t >> shift) & 0xFF;
        const auto channel = static_cast<std::uint32_t>((1.0 - f) * from + f * to + 0.5);
        out |= std::min<std::uint32_t>(channel, 255) << shift;
    }
    return out;
}

QColor CGuiColors::toQColor(std::uint32_t value, int alpha)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF, std::clamp(alpha, 0, 255));
}

std::uint32_t CGuiColors::fromQColor(const QColor& color) { return rgb(color.red(), color.green(), color.blue()); }

CGuiColors::Color CGuiColors::defaultColor(int index)
{
    const std::uint32_t dialogFace = rgb(58, 110, 165);
    switch (index) {
    case FocusedArea: return {rgb(128, 255, 0)};
    case UnfocusedArea: return {rgb(0, 64, 0)};
    case DialogFace: return {dialogFace};
    case DialogText: return {rgb(255, 255, 255)};
    case DialogSpottedFace: return {rgb(255, 200, 98)};
    case DialogSpottedText: return {rgb(128, 0, 0)};
    case WindowFace: return {rgb(213, 233, 242)};
    case WindowText: return {rgb(0, 0, 0)};
    case WindowSpottedFace: return {rgb(255, 217, 0)};
    case WindowSpottedText: return {rgb(183, 137, 0)};
    // The scroll bars follow the dialog face only here, in the defaults.
    case ScrollBarBackground: return {blend(dialogFace, rgb(255, 255, 255), 0.5)};
    case ScrollBar: return {dialogFace};
    case ScrollBarMoving: return {rgb(0, 0, 0)};
    default: return {0, 255};
    }
}

CGuiColors::Color CGuiColors::color(int index) const { return validIndex(index) ? m_colors[index] : Color{0, 255}; }
CGuiColors::Color CGuiColors::color(const std::string& name) const { return color(indexOf(name)); }

QColor CGuiColors::qcolor(int index) const
{
    const Color c = color(index);
    return toQColor(c.rgb, c.alpha);
}

QColor CGuiColors::qcolor(const std::string& name) const { return qcolor(indexOf(name)); }

int CGuiColors::setRgb(int index, std::uint32_t value)
{
    if (!validIndex(index))
        return 0;
    m_colors[index].rgb = value & 0x00FFFFFFu;
    return 1;
}

void CGuiColors::resetToDefaults()
{
    for (int i = 0; i < Count; ++i)
        m_colors[i] = defaultColor(i);
    repaintAll();
}

bool CGuiColors::edit(QWidget* parent)
{
    CGuiColorsDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int i = 0; i < Count; ++i)
        setRgb(i, dialog.chosenRgb(i));
    repaintAll();
    return true;
}

QPalette CGuiColors::withColors(const QPalette& base, std::initializer_list<std::pair<QPalette::ColorRole, int>> roles) const
{
    QPalette p = base;
    for (const auto& [role, color] : roles)
        p.setColor(role, qcolor(color));
    return p;
}

QPalette CGuiColors::dialogPalette(const QPalette& base) const
{
    return withColors(base, {{QPalette::Window, DialogFace},
                             {QPalette::WindowText, DialogText},
                             {QPalette::Base, WindowFace},
                             {QPalette::Text, WindowText},
                             {QPalette::Highlight, DialogSpottedFace},
                             {QPalette::HighlightedText, DialogSpottedText}});
}

QPalette CGuiColors::listPalette(const QPalette& base) const
{
    return withColors(base, {{QPalette::Base, WindowFace},
                             {QPalette::AlternateBase, WindowFace},
                             {QPalette::Text, WindowText},
                             {QPalette::Highlight, WindowSpottedFace},
                             {QPalette::HighlightedText, WindowSpottedText}});
}

void CGuiColors::repaintAll()
{
    emit changed();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // Every window at once, frames included: a colour may be drawn by any of
    // them, and a partial repaint would leave old and new colours side by side.
    for (QWidget* w : QApplication::allWidgets())
        w->update();
}
