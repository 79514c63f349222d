#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

class QWidget;

// The program's own colours for grids, lists, dialogs and scroll bars. One
// object for the whole program; drawing code asks it for a colour by its
// name. Nothing is stored: every start begins with the defaults.
//
// Colours are 0x00BBGGRR (red in the low byte) with a separate alpha byte
// that starts opaque and that nothing here changes.
class CGuiColors : public QObject {
    Q_OBJECT
public:
    enum Index : int {
        FocusedArea,
        UnfocusedArea,
        DialogFace,
        DialogText,
        DialogSpottedFace,
        DialogSpottedText,
        WindowFace,
        WindowText,
        WindowSpottedFace,
        WindowSpottedText,
        ScrollBarBackground,
        ScrollBar,
        ScrollBarMoving,
        Count
    };

    struct Color {
        std::uint32_t rgb = 0;
        int alpha = 255;
        bool operator==(const Color&) const = default;
    };

    static CGuiColors& instance();

    // The colour's name as the dialog shows it ("Window Face"), and the title
    // of the group it is listed under; "" outside 0..Count-1.
    static const char* name(int index);
    static const char* groupName(int index);
    // The index of a colour name (exact), or -1.
    static int indexOf(const std::string& name);

    // Blends c towards t by f (clamped to 0..1), each channel rounded.
    static std::uint32_t blend(std::uint32_t c, std::uint32_t t, double f);
    static std::uint32_t rgb(int r, int g, int b);
    static QColor toQColor(std::uint32_t rgb, int alpha = 255);
    static std::uint32_t fromQColor(const QColor& color);
    static Color defaultColor(int index);

    // Reads; an unknown index or name answers opaque black.
    Color color(int index) const;
    Color color(const std::string& name) const;
    QColor qcolor(int index) const;
    QColor qcolor(const std::string& name) const;

    Color focusedArea() const { return color(FocusedArea); }
    Color unfocusedArea() const { return color(UnfocusedArea); }
    Color dialogFace() const { return color(DialogFace); }
    Color dialogText() const { return color(DialogText); }
    Color dialogSpottedFace() const { return color(DialogSpottedFace); }
    Color dialogSpottedText() const { return color(DialogSpottedText); }
    Color windowFace() const { return color(WindowFace); }
    Color windowText() const { return color(WindowText); }
    Color windowSpottedFace() const { return color(WindowSpottedFace); }
    Color windowSpottedText() const { return color(WindowSpottedText); }
    Color scrollBarBackground() const { return color(ScrollBarBackground); }
    Color scrollBar() const { return color(ScrollBar); }
    Color scrollBarMoving() const { return color(ScrollBarMoving); }

    // Sets the RGB part only; the alpha stays. 0 for an unknown index.
    int setRgb(int index, std::uint32_t rgb);

    // The thirteen defaults, then every window repainted.
    void resetToDefaults();

    // Runs the colour dialog; true when it was accepted (every window is
    // then repainted). Cancel changes nothing.
    bool edit(QWidget* parent = nullptr);

    // Palettes for the known readers: dialogs (face and text, with their edit
    // fields and list boxes on Window Face) and list views.
    QPalette dialogPalette(const QPalette& base = QPalette()) const;
    QPalette listPalette(const QPalette& base = QPalette()) const;

    // Tells every reader to take the new colours and repaints every window.
    void repaintAll();

signals:
    // The colours changed: readers that keep palettes take them again.
    void changed();

private:
    // `base` with each role set to one of the colours.
    QPalette withColors(const QPalette& base, std::initializer_list<std::pair<QPalette::ColorRole, int>> roles) const;
    CGuiColors();
    std::array<Color, Count> m_colors;
};
