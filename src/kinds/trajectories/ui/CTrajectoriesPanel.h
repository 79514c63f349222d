#pragma once

#include "grid/ui/CTypedItemsGrid.h"

#include <string>

class Trajectory;
class CTrajectoryPlayerView;
class TrajectoryPlayer;

// The "Trajectories and Shapes" group's grid: type, closed flag, play mode
// and speed, offsets, point count and comments; the point commands
// (resample, smooth, quantify, noise, centre of mass, clear) on the selected
// trajectories, and the conversion of the selection into a region bitmap.
// Beside the grid the player draws and plays the current trajectory, and
// the mouse adds points to it.
class CTrajectoriesPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum ColumnIndex {
        ColId,
        ColType,
        ColClosedShape,
        ColPlayMode,
        ColPlaySpeed,
        ColOffsetX,
        ColOffsetY,
        ColSpecs,
        ColComments,
    };
    // The group's own menu entries, as offsets from the editor's base.
    enum MenuEntry {
        MenuRemoveAllPoints = 100,
        MenuResample = 101,
        MenuSmooth = 102,
        MenuQuantify = 103,
        MenuAddNoise = 104,
        MenuConvertToRegion = 400,
        MenuUpdateCenterOfMass = 500,
    };
    // A play speed is edited as a percentage within these bounds.
    static constexpr double kSpeedPercentLimit = 10000.0;
    static constexpr const char* kRegionId = "New Region";

    // What the prompting commands ask and within which bounds they keep the
    // answer.
    struct Prompt {
        const char* title;
        const char* text;
        double minimum;
        double maximum;
    };
    static constexpr Prompt kResamplePrompt{"Resample", "Distance Between Points (0.01 to 10000)", 0.01, 10000.0};
    static constexpr Prompt kSmoothPrompt{"Smooth", "Smooth Range in Nb of Values (2 to 10000)", 2.0, 10000.0};
    static constexpr Prompt kQuantifyPrompt{"Quantify", "Quantify Grid Size (0.001 to 10000)", 0.001, 10000.0};
    static constexpr Prompt kNoisePrompt{"Add Noise", "Noise Level (0.0001 to 10000)", 0.0001, 10000.0};

    explicit CTrajectoriesPanel(QWidget* parent = nullptr);

    void buildMenu(QMenu& menu, int base) override;
    int command(int base, int chosen) override;
    // Pastes copy the stored field itself: a speed is not rescaled or
    // clamped on the way, a closed flag goes through the point rule.
    int copyEditorCell(int column, int to, int from) override;
    void reloadEditorView() override;
    void showStep() override;
    bool previewPlays() const override;
    // Unique IDs, and what a trajectory can hold that no edit here would
    // give it (a type or play mode outside the lists, a closed shape whose
    // last point is not its first).
    bool check() override;

    // Whether the group's commands can run: a current row whose trajectory
    // has points.
    bool commandsEnabled() const;

    // The values the prompts offer next (they start at the defaults and
    // keep the last accepted answer while the panel lives).
    double resampleDistance() const { return m_resampleDistance; }
    int smoothRange() const { return m_smoothRange; }
    double quantifyGrid() const { return m_quantifyGrid; }
    double noiseLevel() const { return m_noiseLevel; }

    TrajectoryPlayer* player() const { return m_player; }
    CTrajectoryPlayerView* playerView() const { return m_view; }

protected:
    bool gameStep() override;
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    void loadPlayer(int row);
    // Asks for a decimal number (read like atof) and keeps it within the
    // prompt's bounds; false on Cancel.
    bool askReal(const Prompt& prompt, const char* format, double& value);
    bool askInteger(const Prompt& prompt, int& value);
    // Runs `operation` on every selected trajectory, in ascending order.
    template <typename Operation> int forEachSelected(Operation operation);
    int convertToRegion();

    double m_resampleDistance = 3.0;
    int m_smoothRange = 10;
    double m_quantifyGrid = 5.0;
    double m_noiseLevel = 2.0;
    CTrajectoryPlayerView* m_view;
    TrajectoryPlayer* m_player;
};
