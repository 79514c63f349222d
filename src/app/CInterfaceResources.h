#pragma once

#include <QIcon>
#include <QPixmap>

#include <array>
#include <memory>
#include <string>

class CResourceHolder;
class IPrompter;
class UserInterface;

// The program's own look: the interface resource file read at start, the
// bitmaps that draw grids, menus and scroll bars, and the user interfaces
// that make the tool bar, the main menu and the About dialogs.
class CInterfaceResources {
public:
    static constexpr const char* kMissingFile = "Cannot start the software due to a missing file.";

    // The bitmaps other windows draw with, looked up once by ID.
    enum NamedBitmap {
        PopUpDown, PopUpRight, GridCheckBoxYes, GridCheckBoxNo, SelectedItem, GroupExpand, GroupCollapse,
        ScrollBarZoom, ScrollBarMove, ScrollBarPageDown, ScrollBarPageLeft, ScrollBarPageRight, ScrollBarPageUp,
        ScrollBarStepDown, ScrollBarStepLeft, ScrollBarStepRight, ScrollBarStepUp, ScrollBarFit, WindowResize,
        NamedBitmapCount
    };
    static const std::array<const char*, NamedBitmapCount> kBitmapNames;

    CInterfaceResources();
    ~CInterfaceResources();

    // The file the running program reads: its own name with ".mrc", a bare
    // name so that the reader looks beside the program first.
    static std::string defaultFileName();

    // Reads the file (the reader's own messages go to the prompter), then
    // looks the named bitmaps up. 1 on success; 0 leaves an empty holder.
    int load(const std::string& fileName, IPrompter& prompter);
    bool isLoaded() const { return m_loaded; }
    void clear();

    // -1 when the file holds no such bitmap.
    int bitmapIndex(NamedBitmap name) const { return m_named[name]; }
    int bitmapIndex(const std::string& id) const;
    // The picture of a bitmap row; null when there is none.
    QPixmap picture(int index) const;
    QPixmap picture(NamedBitmap name) const { return picture(bitmapIndex(name)); }
    QIcon icon(const std::string& bitmapId) const;

    const UserInterface* userInterface(const std::string& id) const;
    CResourceHolder& holder() { return *m_holder; }
    const CResourceHolder& holder() const { return *m_holder; }

private:
    std::unique_ptr<CResourceHolder> m_holder;
    std::array<int, NamedBitmapCount> m_named;
    bool m_loaded = false;
};
