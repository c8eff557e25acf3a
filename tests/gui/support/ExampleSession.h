#pragma once
// The example's "Rivers" worksheet read as TDI4 samples, in a session with its windows
// inside a multiple-document area of its own.
#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "support/ScriptedPort.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace frusta::guitest {

inline const std::filesystem::path kProgramDir = FRUSTA_PROGRAM_DIR;
inline const std::string kExample = (kProgramDir / "TestData/FRUSTA2TestData.xls").string();

struct ExampleSession {
    frusta::test::ScriptedPort port;
    CPbtApp app;
    QMdiArea area;
    std::unique_ptr<gui::DocumentSession> session;

    explicit ExampleSession(bool analyse = true, bool uncertainty = true) {
        port.worksheet = WorksheetChoice{0, 0, true, 7, 3};
        StartupOptions options;
        options.programFolder = kProgramDir;
        app.InitInstance(port, options);
        auto doc = std::make_unique<CPbtDoc>(app, port);
        if (!doc->OnOpenDocument(kExample))
            throw std::runtime_error("example not read");
        if (analyse && !doc->RunAnalysis())
            throw std::runtime_error("analysis failed");
        if (analyse && uncertainty)
            doc->RunUncertainty();
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
