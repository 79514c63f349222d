#pragma once

#include <array>

class CQuillopView;
class QSettings;

// How documents were last shown, kept in the settings between runs: the
// panel shown last, and for each panel the share of the width its grid
// takes beside its view (in thousandths; 0 until the user moves the split).
class CPanelLayoutMemory {
public:
    static constexpr const char* kPanelKey = "Settings/Panel";
    static constexpr const char* kSplitKey = "Settings/Split%1";
    static constexpr int kPanels = 10;

    void load(QSettings& settings);
    void save(QSettings& settings) const;

    int lastPanel() const { return m_lastPanel; }
    int gridShare(int panel) const;
    // The grid's share a panel starts with before the user moves its split
    // (thousandths; 0: the panel's own).
    static int defaultGridShare(int panel);

    // A new view takes the splits remembered, the first of a run also the
    // panel shown last; what the user then chooses is remembered in turn.
    void follow(CQuillopView& view);

private:
    int m_lastPanel = 0;
    bool m_restored = false;
    std::array<int, kPanels> m_gridShare{};
};
