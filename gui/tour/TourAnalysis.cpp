#include "gui/app/CMainFrame.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/ImpGrid.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/tour/Tour.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace frusta::gui::tour {

namespace {
void press(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == text) {
            b->click();
            return;
        }
}
// The worksheet as the preview shows it, labels and names in full: the picture of a
// well-formed worksheet.
void shootLayout(TourContext& tour, QWidget* w) {
    auto* dialog = qobject_cast<WorksheetSelectDialog*>(w);
    if (!dialog)
        return;
    ImpGrid* grid = dialog->preview();
    dialog->resize(1500, 560);
    grid->resizeColumnToContents(0);
    grid->resizeColumnToContents(1);
    TourContext::settle();
    const int rows = 14;
    const int width = std::min(grid->width(), grid->verticalHeader()->width() +
                                                  grid->horizontalHeader()->sectionPosition(8));
    const int height = grid->horizontalHeader()->height() + grid->rowViewportPosition(rows);
    tour.shotPart(grid, QRect(0, 0, width, height), "worksheet-layout");
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
        [&tour](QWidget* w) {
            shootLayout(tour, w);
            press(w, "OK");
        });
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
    // For the user guide: the main window only as large as its menus, toolbar, the panel and
    // the status bar need, so that they stay legible on a printed page.
    const QSize full = tour.app.mainFrame().size();
    tour.app.mainFrame().resize(720, 440);
    tour.shotMain("guide-main-window");
    tour.app.mainFrame().resize(full);
    tour.shotModal("results-file-dialog", [&] { panel->OnSave(); });
    session->doc().SetModifiedFlag(false);
}

} // namespace frusta::gui::tour
