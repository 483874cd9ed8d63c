#pragma once
// The preview window: the pages of one report on Qt's print preview widget,
// with page navigation, zoom, the print dialog and PDF output ("PDF出力").
// Its size, position and zoom are kept in "Preview.ini" in the settings
// folder it is given, section "Preview".

#include "ReportDocument.h"

#include <QMainWindow>
#include <QPrinter>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QSpinBox;

namespace ormavex::preview {

class PreviewWindow : public QMainWindow {
public:
    /// Asks for the PDF file name; an empty result cancels.
    using PdfNameQuery = std::function<QString(QWidget* parent, const QString& suggested)>;
    /// Shows an error message.
    using ErrorSink = std::function<void(QWidget* parent, const QString& text)>;

    PreviewWindow(std::shared_ptr<const render::ReportDocument> doc, std::string printFile,
                  std::string iniFolder);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    int pageCount() const;
    int currentPage() const;
    QPrintPreviewWidget* previewWidget() const { return m_preview; }

    void setPdfNameQuery(PdfNameQuery q) { m_askPdfName = std::move(q); }
    void setErrorSink(ErrorSink s) { m_showError = std::move(s); }

    /// Restores geometry and zoom from the settings file (when there is one).
    void restoreSettings();
    /// Writes geometry and zoom to the settings file; false when it fails.
    bool saveSettings() const;
    /// The "PDF出力" action: asks for a name and writes the PDF.
    void exportPdf();

    /// The settings file in a folder.
    static std::string SettingsFile(const std::string& iniFolder);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void updatePageInfo();

    std::shared_ptr<const render::ReportDocument> m_doc;
    std::string m_printFile;
    std::string m_iniFolder;
    QPrinter m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageLabel = nullptr;
    PdfNameQuery m_askPdfName;
    ErrorSink m_showError;
};

/// Reads a print file into a document. False with a message for the user.
bool OpenReport(const std::string& printFile, const std::string& programFolder,
                render::ReportDocument& doc, QString* message);

} // namespace ormavex::preview
