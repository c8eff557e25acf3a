#pragma once
// The example's worksheets read and analysed in the desktop program's windows: in the whole
// program (`Program`) or in a session of its own inside a bare multiple-document area
// (`ExampleSession`).
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/AnalysisCommand.h"
#include "doc/CPbtDoc.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "support/GuiTestSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace frusta::guitest {

// The example's three worksheets as the worksheet dialog chooses them.
inline const WorksheetChoice kRivers{0, kFamilyRivers, true, 7, 3};
inline const WorksheetChoice kLakes{1, kFamilyLakes, true, 7, 3};
inline const WorksheetChoice kAcid{2, kFamilyAcid, true, 7, 3};

enum class Analysis {
    None,    // only read
    Samples, // the samples assessed, no site table
    Full,    // as the command panel's Analyse: then the site table when the document wants it
};

// The example's worksheet `sheet` read and analysed; null when that failed.
inline std::unique_ptr<CPbtDoc> openExample(CPbtApp& app, ScriptedPort& port,
                                            const WorksheetChoice& sheet, Analysis analysis) {
    port.worksheet = sheet;
    auto doc = std::make_unique<CPbtDoc>(app, port);
    if (!doc->OnOpenDocument(kExample))
        return nullptr;
    const bool analysed = analysis == Analysis::None      ? true
                          : analysis == Analysis::Samples ? bool(doc->RunAnalysis())
                                                          : bool(analyseDocument(*doc).analysis);
    return analysed ? std::move(doc) : nullptr;
}

// The desktop program, started from the program folder with a launcher that opens nothing.
struct Program {
    ScriptedPort port;
    gui::DesktopApp app;
    gui::DocumentSession* session = nullptr;

    // The main window shown at `size` (its first size when empty).
    explicit Program(QSize size = {}) {
        if (!app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}))
            throw std::runtime_error("no start");
        if (size.isValid())
            app.mainFrame().resize(size);
        app.mainFrame().show();
        QTest::qWait(20);
    }
    // The worksheet `sheet` analysed and its results window maximised in a main window of
    // 1200 x 800.
    explicit Program(const WorksheetChoice& sheet, Analysis analysis = Analysis::Full)
        : Program(QSize(1200, 800)) {
        if (!open(sheet, analysis))
            throw std::runtime_error("example not analysed");
        session->ShowResultsView();
        session->resultsFrame()->showMaximized();
    }

    // A new session of the example's worksheet `sheet`; null when it could not be analysed.
    gui::DocumentSession* open(const WorksheetChoice& sheet, Analysis analysis = Analysis::Full) {
        auto doc = openExample(app.core(), port, sheet, analysis);
        session = doc ? app.addSession(std::move(doc)) : nullptr;
        return session;
    }

    CPbtDoc& doc() { return session->doc(); }
    QMdiArea& area() { return *app.mainFrame().mdiArea(); }
    const gui::MainActions& actions() { return app.mainFrame().actions(); }
    gui::CChildResFrame* results() {
        return qobject_cast<gui::CChildResFrame*>(session->resultsFrame()->widget());
    }
    // Brings the results tab named `name` forward, as a click on it does.
    int showTab(const QString& name) {
        gui::CChildResFrame* tabs = results();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == name) {
                tabs->setCurrentIndex(i);
                QTest::qWait(50);
                return i;
            }
        return -1;
    }
};

// The example's rivers in a session of its own, without the program's main window.
struct ExampleSession {
    ScriptedPort port;
    CPbtApp app;
    QMdiArea area;
    std::unique_ptr<gui::DocumentSession> session;

    explicit ExampleSession(Analysis analysis = Analysis::Full) {
        StartupOptions options;
        options.programFolder = kProgramDir;
        app.InitInstance(port, options);
        auto doc = openExample(app, port, kRivers, analysis);
        if (!doc)
            throw std::runtime_error("example not analysed");
        session = std::make_unique<gui::DocumentSession>(std::move(doc), area);
        area.resize(1000, 700);
        area.show();
    }
    CPbtDoc& doc() { return session->doc(); }
    gui::CChildResFrame* results() {
        session->ShowResultsView();
        return qobject_cast<gui::CChildResFrame*>(session->resultsFrame()->widget());
    }
    gui::DataListView* data() {
        session->ShowDataView();
        return qobject_cast<gui::DataListView*>(session->dataFrame()->widget());
    }
};

} // namespace frusta::guitest
