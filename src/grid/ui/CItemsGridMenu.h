#pragma once

#include <QPoint>
#include <QString>

class CItemsGrid;
class QMenu;

// The commands of an items grid by number, as the context menu, the keys
// and the editor's own entries give them, and the context menu itself.
class CItemsGridMenu {
public:
    explicit CItemsGridMenu(CItemsGrid& grid) : m_grid(grid) {}

    // Runs a command (the editor's own from CItemsGrid::kEditorBase); false
    // for a number that is no command.
    // An editor command runs as one step of the history, named `label` (or
    // its entry in the Edit menu).
    bool runCommand(int command, const QString& label = {});
    // The context menu as it stands: entries greyed by the rows and the
    // selection, the editor's own under "Edit".
    void fill(QMenu& menu);
    void show(const QPoint& globalAt);

private:
    // The label of an editor command, for its step's name.
    QString commandLabel(int command);

    CItemsGrid& m_grid;
};
