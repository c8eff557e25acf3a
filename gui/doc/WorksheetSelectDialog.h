#pragma once
// The worksheet selection dialog: worksheet, first data row and column, metric and version,
// over a live preview of the chosen worksheet.
#include "app/UserPort.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QPushButton;

namespace frusta {
class Book;
class Sheet;
} // namespace frusta

namespace frusta::gui {

class ImpGrid;

class WorksheetSelectDialog : public QDialog {
    Q_OBJECT
public:
    WorksheetSelectDialog(const WorksheetRequest& request, UserPort& port, QWidget* parent);

    // The choice after OK.
    WorksheetChoice choice() const;

    // Members, as the reader reads them after OK.
    std::vector<std::string> m_sheetNames;
    int m_nSelected = 0;
    bool m_bLatest = true;
    const Book* m_pBook = nullptr;
    const Sheet* m_pSheet = nullptr;
    int m_nFamily = 0;
    int m_nFirstRow = 1;
    int m_nFirstCol = 3;

    // The controls, for the tests that drive the dialog as a user does.
    QListWidget* sheetList() const { return sheets_; }
    QComboBox* rowList() const { return rows_; }
    QComboBox* colList() const { return cols_; }
    QRadioButton* metricButton(int family) const { return metric_[family]; }
    QRadioButton* latestButton() const { return latest_; }
    QRadioButton* previousButton() const { return previous_; }
    ImpGrid* preview() const { return grid_; }
    // How the file was read, when there is something to tell (hidden otherwise).
    QLabel* notesLabel() const { return notes_; }

    void accept() override;

private:
    void loadPreview(int index);
    void setFirstRow(int r, bool fromList);
    void setFirstCol(int c, bool fromList);
    void familyChosen(int family);

    UserPort& port_;
    QListWidget* sheets_;
    QLabel* notes_;
    QComboBox* rows_;
    QComboBox* cols_;
    QRadioButton* metric_[3];
    QRadioButton* latest_;
    QRadioButton* previous_;
    ImpGrid* grid_;
};

// Runs the dialog modally for the open book of `request`; nothing on Cancel.
std::optional<WorksheetChoice> runWorksheetDialog(const WorksheetRequest& request, UserPort& port,
                                                  QWidget* parent);

} // namespace frusta::gui
