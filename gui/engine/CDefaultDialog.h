#pragma once
// The Default values dialog: the values that replace missing alkalinity, calcium and DOC.
#include "app/UserPort.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace frusta::gui {

class CDefaultDialog : public QDialog {
    Q_OBJECT
public:
    CDefaultDialog(const DefaultValues& current, QWidget* parent);

    double m_defaultAlk = 0.0;
    double m_defaultCa = 0.0;
    double m_defaultDoc = 0.0;

    QLineEdit* edit(int i) const { return edits_[i]; } // 0 alkalinity, 1 calcium, 2 DOC
    void accept() override;

private:
    QLineEdit* edits_[3];
};

// Runs the dialog modally with `current`; the edited values on OK, nothing on Cancel.
std::optional<DefaultValues> runDefaultDialog(const DefaultValues& current, QWidget* parent);

} // namespace frusta::gui
