#include "gui/doc/CPbtView.h"

#include "gui/doc/DocumentSession.h"

#include <QPlainTextEdit>

namespace frusta::gui {

QWidget* createCommandPanel(DocumentSession& session) {
    auto* summary = new QPlainTextEdit;
    summary->setReadOnly(true);
    summary->setPlainText(QString::fromStdString(session.doc().m_strSummary));
    return summary;
}

} // namespace frusta::gui
