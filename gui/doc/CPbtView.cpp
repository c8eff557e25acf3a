#include "gui/doc/CPbtView.h"

#include "app/UserPort.h"
#include "doc/AnalysisCommand.h"
#include "doc/CommandGuard.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/HelpCommand.h"
#include "gui/doc/DocumentSession.h"
#include "output/ResultsWriter.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

namespace frusta::gui {

namespace {
constexpr int kTabStopUnits = 80;

// The summary keeps CR LF between lines; the box shows each pair as one line break.
QString summaryText(const std::string& summary) {
    QString text = QString::fromStdString(summary);
    text.replace("\r\n", "\n");
    return text;
}
} // namespace

CPbtView::CPbtView(DocumentSession& session)
    : session_(session), summary_(new QPlainTextEdit(this)) {
    setObjectName("commandPanel");
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(284), du.y(183));
    summary_->setGeometry(du.rect(7, 7, 203, 169));
    summary_->setReadOnly(true);
    summary_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    summary_->setTabStopDistance(du.x(kTabStopUnits));
    QPushButton* defaults = addButton("Change defaults", 7);
    QPushButton* viewData = addButton("View Data", 29);
    analyse_ = addButton("Analyse", 51);
    viewResults_ = addButton("View Results", 73);
    save_ = addButton("Save", 95);
    QPushButton* help = addButton("Help", 136);
    QPushButton* close = addButton("Close", 158);
    connect(defaults, &QPushButton::clicked, this, &CPbtView::OnChangeDefaults);
    connect(viewData, &QPushButton::clicked, this, [this] { session_.ShowDataView(); });
    connect(analyse_, &QPushButton::clicked, this, &CPbtView::OnAnalyse);
    connect(viewResults_, &QPushButton::clicked, this, [this] { session_.ShowResultsView(); });
    connect(save_, &QPushButton::clicked, this, &CPbtView::OnSave);
    connect(help, &QPushButton::clicked, this, [] { showHelp(); });
    connect(close, &QPushButton::clicked, this, &CPbtView::OnClose);
    viewResults_->setEnabled(false);
    save_->setEnabled(false);
    showSummary();
}

QPushButton* CPbtView::addButton(const char* text, int y) {
    const DialogUnits du(font());
    auto* b = new QPushButton(text, this);
    b->setGeometry(du.rect(219, y, 58, 18));
    return b;
}

QPushButton* CPbtView::button(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void CPbtView::showSummary() {
    summary_->setPlainText(summaryText(session_.doc().m_strSummary));
}

void CPbtView::OnChangeDefaults() {
    CPbtDoc& doc = session_.doc();
    const auto edited = doc.port().chooseDefaults({doc.m_defAlk, doc.m_defCa, doc.m_defDoc});
    if (!edited)
        return;
    doc.m_defAlk = edited->alk;
    doc.m_defCa = edited->ca;
    doc.m_defDoc = edited->doc;
}

void CPbtView::OnAnalyse() {
    if (analyseDocument(session_.doc(), [this] { showSummary(); }).analysis) {
        analyse_->setEnabled(false);
        viewResults_->setEnabled(true);
        save_->setEnabled(true);
    }
    showSummary();
    session_.notifyChanged();
}

void CPbtView::OnSave() {
    CPbtDoc& doc = session_.doc();
    runGuarded(doc.port(), [&] { return saveResultsWorkbook(doc); });
    session_.notifyChanged();
}

void CPbtView::OnClose() {
    session_.closeDocument();
}

void CPbtView::print(QPrinter& printer) {
    QTextDocument text;
    text.setDefaultFont(font());
    QTextOption option = text.defaultTextOption();
    option.setTabStopDistance(summary_->tabStopDistance() * printer.resolution() / logicalDpiX());
    text.setDefaultTextOption(option);
    text.setPlainText(summaryText(session_.doc().m_strSummary));
    text.print(&printer);
}

QWidget* createCommandPanel(DocumentSession& session) {
    return new CPbtView(session);
}

} // namespace frusta::gui
