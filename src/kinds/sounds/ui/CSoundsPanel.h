#pragma once

#include "grid/CellValue.h"
#include "grid/ui/CItemsGrid.h"

#include <string>
#include <vector>

class CAudioPlayer;
class CMVT_WavMemory;
class CSoundView;
class CTypedCellColumn;
class QTimer;

// The Music and Sounds group: ID, the "Play" cell driving the audio player
// (Stop / Play / Loop Play), the Specifications text over the item's
// waveform or Ogg summary, and the comments. Beside the grid the current
// sound drawn large.
class CSoundsPanel : public CItemsGrid {
    Q_OBJECT
public:
    enum Column { ColId = 0, ColPlay = 1, ColSpecs = 2, ColComments = 3 };
    enum MenuEntry { EntryLoad = 0, EntrySwapChannels = 1 };
    static constexpr const char* kInsertTitle = "Insert Sound(s) Filename(s)";
    static constexpr const char* kLoadTitle = "Load Wav Into Memory";
    static constexpr const char* kSoundsFilter = "Supported Sounds Files (*.wav;*.ogg;*.pcm)\n*.wav;*.ogg;*.pcm\n\n";
    static constexpr const char* kLoadEntry = "&Load Wav/Ogg...";
    static constexpr const char* kLoadHelp = "Load Wav or Ogg into the selected CMVT_WavMemory";
    static constexpr const char* kSwapEntry = "S&wap Display Channels Priority";
    static constexpr const char* kSwapHelp = "Bring the left or right audio channel to the foreground";
    static constexpr int kRowHeight = 40;

    explicit CSoundsPanel(QWidget* parent = nullptr);

    // The player the "Play" cell drives; by default the application's.
    void setAudioPlayer(CAudioPlayer* player) { m_player = player; }
    CAudioPlayer* audioPlayer() const;

    int editorColumnCount() const override { return 4; }
    QString editorHeader(int column) const override;
    QString editorCellText(int column, int item) const override;
    bool editorCellEditable(int column) const override;
    int setEditorCell(int column, int item, const QString& text) override;
    // Playing is not an edit.
    bool editorCellChangesDocument(int column) const override { return column != ColPlay; }
    bool sortRank(int gridColumn, int item, double& rank) const override;
    // Inserts the sounds chosen in the dialog: the last one inserted, or -1.
    int newItem() override;
    // A deleted sound falls silent first.
    int deleteItem(int item) override;
    int rearrangeItems(const std::vector<int>& order) override;
    void buildMenu(QMenu& menu, int base) override;
    int command(int base, int chosen) override;
    bool acceptsFiles() const override { return true; }
    int dropFile(const QString& path) override;
    void reloadEditorView() override;
    // While the panel is shown, the "Play" cells follow sounds that end on
    // their own.
    void activate() override;
    void deactivate() override;
    // Repaints the "Play" cells when a sound started or ended since they were
    // last drawn: true when something changed.
    bool followPlayStates();
    static constexpr int kPlayStateWatchMs = 200;
    // Sounds name nothing else: only their IDs can clash.
    bool check() override { return checkUniqueIds(); }

    // Appends one item per file, named after it; an item whose load fails
    // is removed again. The last one inserted, or -1.
    int insertSounds(const std::vector<std::string>& paths);
    // Reloads the current item from a file chosen in the dialog. A file
    // that cannot be loaded leaves the item as it was. 1 when loaded.
    int loadIntoCurrent();

    bool swapChannels() const { return m_swapChannels; }
    void toggleSwapChannels();

    static const CellValue::ChoiceList& playLabels();

private:
    CAudioPlayer* m_player = nullptr;
    bool m_swapChannels = false;
    CTypedCellColumn* m_playColumn;
    CSoundView* m_view;
    QTimer* m_playStateWatch;
    std::vector<int> m_shownStates;
};
