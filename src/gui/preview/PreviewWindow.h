#pragma once
// The preview window: the pages of one report on Qt's print preview widget,
// with page navigation, zoom, the print dialog and PDF output ("PDF出力").
// The page number box and the navigation buttons follow the page shown,
// however it was reached (buttons, PageUp/PageDown, Home/End, Ctrl+Home/End,
// scrolling); the buttons toward an end are disabled on that end's page. The
// zoom field takes "幅に合わせる", "ﾍﾟｰｼﾞ全体" or a percentage and shows the
// zoom after Ctrl+wheel, "拡大" and "縮小". Esc closes the window. The window
// title and the suggested PDF name come from the report's project when one is
// given, otherwise from the print file unless that is a temporary "~MT" name.
// The print and close buttons also answer Alt+P and Alt+C. Its size (of the
// area inside the frame, in pixels), position (of the frame, in twips, as
// every window of the program keeps it) and zoom are kept in "Preview.ini" in
// the settings folder it is given, section "Preview"; the window is fitted
// onto the screen it opens on.

#include "core/report/ReportDocument.h"

#include <QMainWindow>
#include <QPrinter>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
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

    PreviewWindow(std::shared_ptr<const printfile::ReportDocument> doc, std::string printFile,
                  std::string iniFolder);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    int pageCount() const;
    int currentPage() const;

    /// The project the report was made from: names the window, the
    /// suggested PDF (same folder, same name, ".pdf") and the printed document.
    void setProject(const std::string& projectFile);
    /// Where "PDF出力" proposes to write.
    QString suggestedPdfPath() const;

    void setPdfNameQuery(PdfNameQuery q) { m_askPdfName = std::move(q); }
    void setErrorSink(ErrorSink s) { m_showError = std::move(s); }
    /// After a PDF is written: asks whether to open its folder.
    void setOpenFolderQuery(std::function<bool(QWidget* parent, const QString& pdf)> q) {
        m_askOpenFolder = std::move(q);
    }
    /// Opens a folder in the desktop's file manager.
    void setFolderOpener(std::function<void(const QString& folder)> o) {
        m_openFolder = std::move(o);
    }

    /// Restores geometry and zoom from the settings file (when there is one).
    void restoreSettings();
    /// Writes geometry and zoom to the settings file; false when it fails.
    bool saveSettings() const;
    /// The "PDF出力" action: asks for a name, writes the PDF, names it in the
    /// status bar and offers to open its folder.
    void exportPdf();

    /// The settings file in a folder.
    static std::string SettingsFile(const std::string& iniFolder);

    /// The report's name as the title and the PDF use it: the project's name
    /// without extension, else the print file's unless that is a temporary
    /// "~MT" name, else empty.
    static QString ReportName(const std::string& projectFile, const std::string& printFile);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void updatePageInfo();
    void updateZoomText();
    void applyZoomText(const QString& text);
    void goToPage(int page);

    std::shared_ptr<const printfile::ReportDocument> m_doc;
    std::string m_printFile;
    std::string m_iniFolder;
    std::string m_projectFile;
    QPrinter m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QAction* m_first = nullptr;
    QAction* m_previous = nullptr;
    QAction* m_next = nullptr;
    QAction* m_last = nullptr;
    PdfNameQuery m_askPdfName;
    ErrorSink m_showError;
    std::function<bool(QWidget*, const QString&)> m_askOpenFolder;
    std::function<void(const QString&)> m_openFolder;
};

/// Reads a print file into a document. False with a message for the user.
bool OpenReport(const std::string& printFile, const std::string& programFolder,
                printfile::ReportDocument& doc, QString* message);

} // namespace ormavex::preview
