#include "gui/common/FileDialogLayout.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace frusta::gui {

void fitFileDialog(QFileDialog& dialog) {
    dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 440)));
    if (auto* list = dialog.findChild<QTreeView*>("treeView")) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

} // namespace frusta::gui
