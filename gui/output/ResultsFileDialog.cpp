#include "gui/output/ResultsFileDialog.h"

#include "gui/common/FileDialogLayout.h"
#include "gui/common/HelpCommand.h"
#include "gui/common/RememberedFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace frusta::gui {

namespace {
const QString kXlsFilter = "Excel 97-2003 (*.xls)";
const QString kXlsxFilter = "Excel 2007 (*.xlsx)";

// Qt's save dialog accepts a name in a folder that does not exist and leaves the failure to
// the writer; this one keeps the dialog open and says so, as the folder must exist.
class SaveResultsDialog : public QFileDialog {
public:
    explicit SaveResultsDialog(QWidget* parent) : QFileDialog(parent, "Save results") {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo chosen(files.front());
            if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     QDir::toNativeSeparators(chosen.absolutePath()) +
                                         "\nThe folder does not exist.\nCheck the name and try "
                                         "again.");
                return;
            }
        }
        QFileDialog::accept();
    }
};

void addHelpButton(QFileDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
    if (!buttons)
        return;
    QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    QObject::connect(help, &QPushButton::clicked, &dialog, [] { showHelp(); });
}
} // namespace

std::optional<ResultsFileChoice> runResultsFileDialog(const ResultsFileRequest& request,
                                                      QWidget* parent) {
    SaveResultsDialog dialog(parent);
    dialog.setObjectName("resultsFileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kXlsFilter, kXlsxFilter});
    dialog.selectNameFilter(kXlsFilter);
    dialog.setDefaultSuffix("xls");
    dialog.setDirectory(rememberedFolder(FileKind::Results));
    dialog.selectFile(QString::fromStdString(request.defaultName));
    addHelpButton(dialog);
    fitFileDialog(dialog);
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
    rememberFolder(FileKind::Results, dialog.selectedFiles().front());
    ResultsFileChoice choice;
    choice.path = dialog.selectedFiles().front().toStdString();
    choice.type =
        dialog.selectedNameFilter() == kXlsxFilter ? ResultsFileType::Xlsx : ResultsFileType::Xls;
    return choice;
}

} // namespace frusta::gui
