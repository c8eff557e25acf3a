#pragma once
// The command panel of one analysis: the job summary and the analysis's commands.
#include "gui/common/ViewCommands.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace frusta::gui {

class DocumentSession;

class CPbtView : public QWidget, public ViewCommands {
    Q_OBJECT
public:
    explicit CPbtView(DocumentSession& session);

    QPlainTextEdit* summary() const { return summary_; }
    QPushButton* button(const QString& text) const;

    // Shows the document's job summary again.
    void showSummary();

    bool canPrint() const override { return true; }
    void print(QPrinter& printer) override;

    void OnChangeDefaults();
    void OnAnalyse();
    void OnSave();
    void OnClose();

private:
    QPushButton* addButton(const char* text, int y);

    DocumentSession& session_;
    QPlainTextEdit* summary_;
    QPushButton* analyse_ = nullptr;
    QPushButton* viewResults_ = nullptr;
    QPushButton* save_ = nullptr;
};

// Makes the panel for `session`'s document.
QWidget* createCommandPanel(DocumentSession& session);

} // namespace frusta::gui
