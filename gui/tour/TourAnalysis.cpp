#include "gui/app/CMainFrame.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/ImpGrid.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/tour/Tour.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

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

void tourTextFile(TourContext& tour) {
    // A CSV file in Windows-1252 ("\xB5" is the micro sign) with its dates written day first.
    QTemporaryDir dir;
    const QString path = dir.filePath("Survey 2011.csv");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("Sample name,,R01-1,R01-2,R02-1\r\n"
               "Site code,,SITE01,SITE01,SITE02\r\n"
               "Sampling date,,30/01/2011,21/05/2011,13/07/2011\r\n"
               "Alkalinity (mg/l),,6,13,54\r\n"
               "Calcium (\xB5"
               "eq/l),,31,34,56\r\n"
               "DOC (mg/l),,7.6,3.4,4.8\r\n"
               "AC001A,Achnanthes,12,0,3\r\n"
               "NA001A,Navicula,5,8,0\r\n");
    file.close();
    tour.shotModal(
        "worksheet-dialog-csv", [&] { tour.app.OpenDocumentFile(path.toStdString()); }, {},
        [&tour](QWidget* dialog) {
            tour.shotModal(
                "csv-dates-message", [dialog] { press(dialog, "OK"); }, {},
                [](QWidget* box) { qobject_cast<QDialog*>(box)->accept(); });
        });
}

} // namespace frusta::gui::tour
