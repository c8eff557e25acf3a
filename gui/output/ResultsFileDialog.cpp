#include "gui/output/ResultsFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace frusta::gui {

namespace {
const QString kXlsFilter = "Excel 97-2003 (*.xls)";
const QString kXlsxFilter = "Excel 2007 (*.xlsx)";
} // namespace

std::optional<ResultsFileChoice> runResultsFileDialog(const ResultsFileRequest& request,
                                                      QWidget* parent) {
    QFileDialog dialog(parent, "Save results");
    dialog.setObjectName("resultsFileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kXlsFilter, kXlsxFilter});
    dialog.selectNameFilter(kXlsFilter);
    dialog.setDefaultSuffix("xls");
    dialog.selectFile(QString::fromStdString(request.defaultName));
    // Choosing the other type gives the name in the box that type's extension; a folder
    // typed into the box is dropped.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const QString ext = f == kXlsxFilter ? "xlsx" : "xls";
        dialog.setDefaultSuffix(ext);
        if (auto* box = dialog.findChild<QLineEdit*>("fileNameEdit")) {
            const QString base = QFileInfo(box->text()).completeBaseName();
            box->setText(base.isEmpty() ? QString() : base + "." + ext);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    ResultsFileChoice choice;
    choice.path = dialog.selectedFiles().front().toStdString();
    choice.type =
        dialog.selectedNameFilter() == kXlsxFilter ? ResultsFileType::Xlsx : ResultsFileType::Xls;
    return choice;
}

} // namespace frusta::gui
