#pragma once
// Layout of the program's file dialogs (Qt's own, not the desktop's).
class QFileDialog;

namespace frusta::gui {

// Makes the dialog wide enough, and its detail list's size, type and date columns fit their
// texts, so that no column shows "...".
void fitFileDialog(QFileDialog& dialog);

} // namespace frusta::gui
