#include "gui/app/CMainFrame.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/tour/Tour.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>

namespace frusta::gui::tour {

namespace {
void press(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == text) {
            b->click();
            return;
        }
}
} // namespace

void tourAnalysis(TourContext& tour) {
    const std::string example = tour.app.core().examplePath.string();
    tour.shotModal(
        "file-open-dialog", [&] { tour.app.mainFrame().actions().fileOpen->trigger(); },
        [&](QWidget* w) {
            if (auto* d = qobject_cast<QFileDialog*>(w))
                d->setDirectory(
                    QString::fromStdString(tour.app.core().examplePath.parent_path().string()));
        });
    tour.shotModal(
        "worksheet-dialog", [&] { tour.app.OpenDocumentFile(example); }, {},
        [](QWidget* w) { press(w, "OK"); });
    DocumentSession* session = tour.app.activeSession();
    if (!session)
        return;
    auto* panel = qobject_cast<CPbtView*>(session->panelFrame()->widget());
    tour.shotMain("command-panel-before-analyse");
    tour.shotModal("defaults-dialog", [&] { panel->OnChangeDefaults(); });
    tour.shotModal(
        "defaults-range-message", [&] { panel->OnChangeDefaults(); },
        [](QWidget* w) {
            if (auto* edit = w->findChildren<QLineEdit*>().value(1))
                edit->setText("150");
        },
        [&tour](QWidget* w) {
            tour.shotModal(
                "defaults-range-message-box", [w] { press(w, "OK"); }, {},
                [w](QWidget* box) {
                    qobject_cast<QDialog*>(box)->accept();
                    qobject_cast<QDialog*>(w)->reject();
                });
        });
    panel->OnAnalyse();
    tour.shotMain("command-panel-after-analyse");
    tour.shot(session->panelFrame(), "command-panel");
    tour.shotModal("results-file-dialog", [&] { panel->OnSave(); });
    session->doc().SetModifiedFlag(false);
}

} // namespace frusta::gui::tour
