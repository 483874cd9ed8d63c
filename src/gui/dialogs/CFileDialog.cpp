#include "gui/dialogs/CFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

namespace ormavex::gui {

namespace {

// A save dialog that refuses a name in a folder that does not exist, instead
// of handing back a path that cannot be written.
class ExistingFolderFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool requireFolder = false;

    void accept() override {
        if (requireFolder) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty()) {
                const QFileInfo info(files.first());
                if (!info.isDir() && !info.absoluteDir().exists()) {
                    QMessageBox::warning(this, windowTitle(),
                                         QStringLiteral("ﾌｫﾙﾀﾞ %1 がありません。")
                                             .arg(QDir::toNativeSeparators(info.absolutePath())));
                    return;
                }
            }
        }
        QFileDialog::accept();
    }
};

// The list with its details, large enough that size, type and date are read
// whole beside a long name, yet within the screen; those three columns follow
// their contents and the name takes the rest.
void ShowWholeColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    const QScreen* screen = dialog.parentWidget() != nullptr ? dialog.parentWidget()->screen()
                                                             : QGuiApplication::primaryScreen();
    QSize size(860, 520);
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        size = size.boundedTo(QSize(area.width() * 9 / 10, area.height() * 8 / 10));
    }
    dialog.resize(size);
    if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = tree->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(40);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
}

} // namespace

QStringList CFileDialog::NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "入力ﾃﾞｰﾀ(*.kvt)" already names its pattern the way Qt reads it.
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
            filters << description;
        } else {
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
    }
    return filters;
}

std::unique_ptr<QFileDialog> CFileDialog::CreateDialog(bool fOpen) const {
    auto dialog =
        std::make_unique<ExistingFolderFileDialog>(hWndParent, QString::fromStdString(DialogTitle));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ReadOnly, false);
    if (fOpen) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode((Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, (Flags & OFN_OVERWRITEPROMPT) == 0);
        dialog->requireFolder = (Flags & OFN_PATHMUSTEXIST) != 0;
    }
    QString ext = QString::fromStdString(DefaultExt);
    if (ext.startsWith(QLatin1Char('.'))) {
        ext.remove(0, 1);
    }
    dialog->setDefaultSuffix(ext);
    const QStringList filters = NameFilters(Filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size()) {
            dialog->selectNameFilter(filters[FilterIndex - 1]);
        }
    }
    if (!InitialDir.empty()) {
        dialog->setDirectory(QString::fromStdString(InitialDir));
    }
    if (!FileName.empty()) {
        dialog->selectFile(QString::fromStdString(FileName));
    }
    ShowWholeColumns(*dialog);
    return dialog;
}

void CFileDialog::Accept(const QString& path) {
    const QFileInfo info(path);
    FileName = QDir::cleanPath(info.absoluteFilePath()).toStdString();
    FileTitle = info.fileName().toStdString();
}

bool CFileDialog::Show(bool fOpen) {
    std::unique_ptr<QFileDialog> dialog = CreateDialog(fOpen);
    if (dialog->exec() != QDialog::Accepted) {
        return false;
    }
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) {
        return false;
    }
    Accept(files.first());
    return true;
}

} // namespace ormavex::gui
