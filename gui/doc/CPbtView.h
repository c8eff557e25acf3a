#pragma once
// The command panel of one analysis: the job summary and the analysis's commands.
class QWidget;

namespace frusta::gui {

class DocumentSession;

// Makes the panel for `session`'s document.
QWidget* createCommandPanel(DocumentSession& session);

} // namespace frusta::gui
