#include "gui/preview/PreviewWindow.h"

#include "core/app/CPrivateProfile.h"
#include "core/app/Messages.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "render/PdfExport.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>

namespace ormavex::preview {

using gui::Named;
using gui::Q;

namespace {

const char* const kSection = "Preview";

enum ZoomSetting { ZoomCustom = 0, ZoomFitWidth = 1, ZoomFitPage = 2 };

const char* const kFitWidthText = "幅に合わせる";
const char* const kFitPageText = "ﾍﾟｰｼﾞ全体";

QString Caption(const QString& reportName) {
    const QString base = Q("印刷ﾌﾟﾚﾋﾞｭｰ");
    return reportName.isEmpty() ? base : base + QStringLiteral(" - ") + reportName;
}

} // namespace

bool OpenReport(const std::string& printFile, const std::string& programFolder,
                printfile::ReportDocument& doc, QString* message) {
    std::string error;
    if (printfile::BuildReportDocument(printFile, programFolder, doc, &error)) {
        return true;
    }
    if (message != nullptr) {
        *message = Q("印刷ﾌｧｲﾙを開けません。\n\n") + Q(printFile) + Q("\n") + Q(error);
    }
    return false;
}

std::string PreviewWindow::SettingsFile(const std::string& iniFolder) {
    return iniFolder + "/Preview.ini";
}

PreviewWindow::PreviewWindow(std::shared_ptr<const printfile::ReportDocument> doc,
                             std::string printFile, std::string iniFolder)
    : m_doc(std::move(doc)), m_printFile(std::move(printFile)), m_iniFolder(std::move(iniFolder)),
      m_printer(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("PreviewWindow"));
    render::SetUpA4Printer(m_printer);
    setProject(std::string());

    m_preview = Named<QPrintPreviewWidget>("preview", &m_printer, this);
    setCentralWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { render::PrintReport(*m_doc, *printer); });

    m_askPdfName = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, Q("PDF出力"), suggested, Q("PDF ﾌｧｲﾙ (*.pdf)"));
    };
    m_askOpenFolder = [](QWidget* parent, const QString& pdf) {
        return QMessageBox::question(
                   parent, Q("PDF出力"),
                   Q("PDF ﾌｧｲﾙを出力しました。\n\n") + pdf + Q("\n\n保存先のﾌｫﾙﾀﾞを開きますか？"),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    m_openFolder = [](const QString& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    };
    m_showError = [](QWidget* parent, const QString& text) {
        QMessageBox::critical(parent, QStringLiteral("Ormavex"), text);
    };

    buildActions();
    m_preview->fitToWidth();
    resize(900, 680); // fits a 1366 x 768 screen with its frame
    updateZoomText();

    QStringList notes;
    for (const std::string& n : m_doc->notes) {
        notes << Q(n);
    }
    if (!notes.isEmpty()) {
        statusBar()->showMessage(notes.join(QStringLiteral("; ")));
    }
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::ReportName(const std::string& projectFile, const std::string& printFile) {
    if (!projectFile.empty()) {
        return QFileInfo(Q(projectFile)).completeBaseName();
    }
    const QFileInfo print(Q(printFile));
    if (print.fileName().startsWith(QStringLiteral("~MT"), Qt::CaseInsensitive)) {
        return QString(); // a temporary name says nothing to the reader
    }
    return print.completeBaseName();
}

void PreviewWindow::setProject(const std::string& projectFile) {
    m_projectFile = projectFile;
    const QString name = ReportName(m_projectFile, m_printFile);
    setWindowTitle(Caption(name));
    m_printer.setDocName(name.isEmpty() ? QStringLiteral("Ormavex") : name);
}

QString PreviewWindow::suggestedPdfPath() const {
    const QString name = ReportName(m_projectFile, m_printFile);
    if (name.isEmpty()) {
        return QDir::homePath() + QStringLiteral("/Ormavex.pdf");
    }
    const QFileInfo from(Q(m_projectFile.empty() ? m_printFile : m_projectFile));
    return from.absolutePath() + QStringLiteral("/") + name + QStringLiteral(".pdf");
}

int PreviewWindow::pageCount() const { return m_preview->pageCount(); }

int PreviewWindow::currentPage() const { return m_preview->currentPage(); }

void PreviewWindow::buildActions() {
    QToolBar* bar = addToolBar(Q("ﾌﾟﾚﾋﾞｭｰ"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    auto add = [&](const char* name, const char* text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(Q(text));
        a->setObjectName(Q(name));
        // A tool button does not take its mnemonic: Alt and the underlined
        // letter become a shortcut of the action.
        QList<QKeySequence> keys;
        if (!key.isEmpty()) {
            keys << key;
        }
        if (const QKeySequence mnemonic = QKeySequence::mnemonic(a->text()); !mnemonic.isEmpty()) {
            keys << mnemonic;
        }
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_first =
        add("actionFirst", "先頭", QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(1); });
    m_previous = add("actionPrevious", "前へ", QKeySequence(Qt::Key_PageUp),
                     [this] { goToPage(m_preview->currentPage() - 1); });
    m_pageBox = Named<QSpinBox>("pageNumber", bar);
    m_pageBox->setMinimum(1);
    bar->addWidget(m_pageBox);
    m_pageLabel = new QLabel(bar);
    bar->addWidget(m_pageLabel);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != m_preview->currentPage()) {
            goToPage(page);
        }
    });
    m_next = add("actionNext", "次へ", QKeySequence(Qt::Key_PageDown),
                 [this] { goToPage(m_preview->currentPage() + 1); });
    m_last = add("actionLast", "最後", QKeySequence(Qt::CTRL | Qt::Key_End),
                 [this] { goToPage(m_preview->pageCount()); });
    m_first->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Home), QKeySequence(Qt::Key_Home)});
    m_last->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_End), QKeySequence(Qt::Key_End)});
    bar->addSeparator();
    add("actionZoomIn", "拡大", QKeySequence::ZoomIn, [this] {
        m_preview->zoomIn();
        updateZoomText();
    });
    add("actionZoomOut", "縮小", QKeySequence::ZoomOut, [this] {
        m_preview->zoomOut();
        updateZoomText();
    });
    m_zoomBox = Named<QComboBox>("zoom", bar);
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->addItems({Q(kFitWidthText), Q(kFitPageText), QStringLiteral("50%"),
                         QStringLiteral("75%"), QStringLiteral("100%"), QStringLiteral("125%"),
                         QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("400%")});
    m_zoomBox->setMinimumContentsLength(7);
    bar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::textActivated, this,
            [this](const QString& t) { applyZoomText(t); });
    bar->addSeparator();
    add("actionPrint", "印刷(&P)", QKeySequence::Print, [this] {
        QPrintDialog dialog(&m_printer, this);
        dialog.setMinMax(1, m_preview->pageCount());
        if (dialog.exec() == QDialog::Accepted) {
            render::PrintReport(*m_doc, m_printer);
        }
    });
    add("actionPdf", "PDF出力", QKeySequence(), [this] { exportPdf(); });
    bar->addSeparator();
    QAction* closeAction = add("actionClose", "閉じる(&C)", QKeySequence(), [this] { close(); });
    closeAction->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close),
                               QKeySequence::mnemonic(closeAction->text())});
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, [this] { updatePageInfo(); });
    // Scrolling (wheel, scroll bar, keys inside the view) changes the page
    // shown without any action: the box follows the view's scroll bars.
    if (auto* view = m_preview->findChild<QGraphicsView*>()) {
        for (QScrollBar* bar2 : {view->verticalScrollBar(), view->horizontalScrollBar()}) {
            connect(bar2, &QScrollBar::valueChanged, this, [this] { updatePageInfo(); });
        }
        view->viewport()->installEventFilter(this);
    }
}

void PreviewWindow::goToPage(int page) {
    const int count = m_preview->pageCount();
    if (count < 1) {
        return;
    }
    m_preview->setCurrentPage(std::clamp(page, 1, count));
    updatePageInfo();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta > 0) {
                m_preview->zoomIn();
            } else if (delta < 0) {
                m_preview->zoomOut();
            }
            updateZoomText();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void PreviewWindow::updateZoomText() {
    if (m_zoomBox == nullptr) {
        return;
    }
    QString text;
    switch (m_preview->zoomMode()) {
    case QPrintPreviewWidget::FitToWidth: text = Q(kFitWidthText); break;
    case QPrintPreviewWidget::FitInView: text = Q(kFitPageText); break;
    default:
        text = QStringLiteral("%1%").arg(static_cast<int>(m_preview->zoomFactor() * 100.0 + 0.5));
        break;
    }
    m_zoomBox->setEditText(text);
}

void PreviewWindow::applyZoomText(const QString& text) {
    const QString t = text.trimmed();
    if (t == Q(kFitWidthText)) {
        m_preview->fitToWidth();
    } else if (t == Q(kFitPageText)) {
        m_preview->fitInView();
    } else {
        QString digits = t;
        digits.remove(QLatin1Char('%'));
        digits.replace(Q("％"), QString());
        bool ok = false;
        const int percent = digits.trimmed().toInt(&ok);
        if (ok && percent >= 10 && percent <= 800) {
            m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
            m_preview->setZoomFactor(percent / 100.0);
        }
    }
    updateZoomText(); // an unusable entry shows the zoom in force again
}

void PreviewWindow::updatePageInfo() {
    const int count = m_preview->pageCount();
    const int page = std::max(1, m_preview->currentPage());
    m_pageBox->blockSignals(true);
    m_pageBox->setMaximum(std::max(1, count));
    m_pageBox->setValue(page);
    m_pageBox->blockSignals(false);
    m_pageLabel->setText(Q(" / %1 ").arg(count));
    m_first->setEnabled(page > 1);
    m_previous->setEnabled(page > 1);
    m_next->setEnabled(page < count);
    m_last->setEnabled(page < count);
}

void PreviewWindow::exportPdf() {
    QString name = m_askPdfName(this, suggestedPdfPath());
    if (name.isEmpty()) {
        return;
    }
    if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".pdf");
    }
    std::string error;
    int code = 0;
    if (!render::WriteReportPdf(*m_doc, name.toStdString(), &error, &code)) {
        m_showError(this, Q("PDF ﾌｧｲﾙを書けません。\n\n") + name + QStringLiteral("\n") +
                              Q(FileErrorReasonText(code)));
        return;
    }
    const QString shown = QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath());
    statusBar()->showMessage(Q("PDF ﾌｧｲﾙを出力しました: ") + shown);
    if (m_askOpenFolder(this, shown)) {
        m_openFolder(QFileInfo(name).absolutePath());
    }
}

void PreviewWindow::restoreSettings() {
    if (m_iniFolder.empty()) {
        gui::PlaceWindow(*this, {}, true); // the default size, centred
        return;
    }
    const std::string ini = SettingsFile(m_iniFolder);
    // The size is the page area's (pixels), the position the frame's (twips),
    // as every window of the program keeps it; both are fitted to the screen.
    const int width = CPrivateProfile::GetValueLong(ini, kSection, "Width");
    const int height = CPrivateProfile::GetValueLong(ini, kSection, "Height");
    if (width >= 200 && height >= 150) {
        resize(width, height);
    }
    gui::RestoreWindowPosition(*this, ini, kSection, true);
    if (CPrivateProfile::GetValueLong(ini, kSection, "Maximized") == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    switch (CPrivateProfile::GetValueLong(ini, kSection, "ZoomMode")) {
    case ZoomFitPage: m_preview->fitInView(); break;
    case ZoomCustom: {
        const int percent = CPrivateProfile::GetValueLong(ini, kSection, "ZoomPercent");
        if (percent >= 5 && percent <= 1000) {
            m_preview->setZoomFactor(percent / 100.0);
        } else {
            m_preview->fitToWidth();
        }
        break;
    }
    default: m_preview->fitToWidth(); break;
    }
    updateZoomText();
}

bool PreviewWindow::saveSettings() const {
    if (m_iniFolder.empty()) {
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(m_iniFolder, ec);
    const std::string ini = SettingsFile(m_iniFolder);
    const QRect g = normalGeometry();
    if (!isMaximized()) {
        gui::SaveWindowPosition(*this, ini, kSection);
    }
    int mode = ZoomCustom;
    if (m_preview->zoomMode() == QPrintPreviewWidget::FitToWidth) {
        mode = ZoomFitWidth;
    } else if (m_preview->zoomMode() == QPrintPreviewWidget::FitInView) {
        mode = ZoomFitPage;
    }
    const std::pair<const char*, int> values[] = {
        {"Width", g.width()},
        {"Height", g.height()},
        {"Maximized", isMaximized() ? 1 : 0},
        {"ZoomMode", mode},
        {"ZoomPercent", static_cast<int>(m_preview->zoomFactor() * 100.0 + 0.5)},
    };
    bool ok = true;
    for (const auto& [key, value] : values) {
        ok = CPrivateProfile::SetValueString(ini, kSection, key, std::to_string(value)) && ok;
    }
    return ok;
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    saveSettings();
    QMainWindow::closeEvent(event);
}

} // namespace ormavex::preview
