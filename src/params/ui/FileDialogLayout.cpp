#include "params/ui/FileDialogLayout.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

void fitFileDialog(QFileDialog& dialog)
{
    dialog.resize(dialog.size().expandedTo(QSize(820, 500)));
    for (QTreeView* details : dialog.findChildren<QTreeView*>()) {
        QHeaderView* header = details->header();
        if (header->count() < 2)
            continue;
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}
