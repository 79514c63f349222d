#pragma once

#include "core/CResourceHolder.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CCellEditor.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/CItemKinds.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// The titles of every column of a panel's grid, as the table shows them.
inline QStringList gridHeaders(CItemsGrid& panel)
{
    QStringList headers;
    for (int c = 0; c < panel.gridColumnCount(); ++c)
        headers << panel.table()->model()->headerData(c, Qt::Horizontal).toString();
    return headers;
}

// Edits the cell `target` of a table through its cell delegate with an
// editor that, while it is open, has every cell of row `drawnRow` drawn
// (the `choiceColumn` cell last) and then answers `answer`: drawing other
// cells, of other kinds, must not touch the value being edited. The
// delegate's result, or -1 when the table has no cell delegate.
inline int editWhileOtherCellsDraw(QTableView& table, const QModelIndex& target, int drawnRow, int choiceColumn,
                                   const std::string& answer)
{
    auto* delegate = dynamic_cast<CCellDelegate*>(table.itemDelegate());
    if (!delegate)
        return -1;
    struct DrawingEditor : CCellEditor {
        std::function<void()> whileOpen;
        std::string answer;
        bool editText(QWidget*, bool, const std::string&, const std::string&, std::string& result) override
        {
            whileOpen();
            result = answer;
            return true;
        }
    };
    auto editor = std::make_unique<DrawingEditor>();
    editor->answer = answer;
    editor->whileOpen = [&] {
        for (int column = 0; column < table.model()->columnCount(); ++column)
            delegate->sizeHint(QStyleOptionViewItem(), table.model()->index(drawnRow, column));
        delegate->sizeHint(QStyleOptionViewItem(), table.model()->index(drawnRow, choiceColumn));
    };
    delegate->setEditor(std::move(editor));
    return delegate->editCell(&table, table.visualRect(target), target, {}, true);
}

// Pictures of panels on the demo document, for looking at by eye. They are
// written only when QUILLOP_SCREENSHOTS names a folder: folder() is empty
// otherwise and the test skips.
class DemoPictures {
public:
    static QString folder()
    {
        const QString out = qEnvironmentVariable("QUILLOP_SCREENSHOTS");
        if (!out.isEmpty())
            QDir().mkpath(out);
        return out;
    }

    DemoPictures() : m_folder(folder()), m_document(createDocumentHolder())
    {
        const QString demo =
            QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../examples/demo.mrc"));
        m_loaded = m_document->load(demo.toStdString()) == 1;
    }

    bool loaded() const { return m_loaded; }
    CResourceHolder& document() { return *m_document; }

    // The grid on the demo document with rows 0 and 2 marked and row 1
    // current, after a few game steps, as `name`.png; its own menu entries
    // as `name`_menu.png.
    void grid(CItemsGrid& grid, IPanelHost& host, const QString& name)
    {
        grid.resize(1280, 700);
        grid.attach(m_document.get(), &host);
        grid.show();
        if (grid.rowCount() > 2) {
            grid.setMarked(0, true);
            grid.setMarked(2, true);
        }
        grid.selectRow(grid.rowCount() > 1 ? 1 : 0);
        grid.reloadEditorView();
        for (int step = 0; step < 30; ++step)
            grid.runGameStep();
        QCoreApplication::processEvents();
        save(grid, name);
        QMenu menu;
        grid.fillContextMenu(menu);
        for (QAction* action : menu.actions())
            if (action->menu()) {
                action->menu()->adjustSize();
                save(*action->menu(), name + QStringLiteral("_menu"));
            }
    }

    void save(QWidget& widget, const QString& name)
    {
        EXPECT_TRUE(widget.grab().save(QDir(m_folder).filePath(name + QStringLiteral(".png")))) << name.toStdString();
    }

private:
    QString m_folder;
    std::unique_ptr<CResourceHolder> m_document;
    bool m_loaded = false;
};
