#pragma once
// The folder that a file dialog starts in: the one last used for its kind of file (sample
// workbooks, results), kept in the settings; the user's home folder until there is one, or
// when it is gone.
#include <QString>

namespace frusta::gui {

enum class FileKind { Workbook, Results };

QString rememberedFolder(FileKind kind);
// Keeps the folder of `file`, just chosen in a dialog, for the next dialog of its kind.
void rememberFolder(FileKind kind, const QString& file);

} // namespace frusta::gui
