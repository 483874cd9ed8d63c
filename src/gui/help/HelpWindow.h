#pragma once
// The help window "Ormavex ヘルプ": the user manual (HTML pages in the
// folder "manual" beside the program) in a text browser, with the contents
// taken from the manual's index page, back and forward through the pages
// seen, and a search over the text of every page. It is a window of its own,
// not modal; F1 and the Help buttons bring it up through ShowHelp
// (help/HelpKey.h).

#include <QWidget>

#include <vector>

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace ormavex::gui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    /// `manualFolder` holds index.html and the other pages.
    explicit HelpWindow(QString manualFolder, QWidget* parent = nullptr);
    ~HelpWindow() override;

    const QString& manualFolder() const { return m_folder; }

    /// Shows `page` ("case-editor.html", or with an anchor
    /// "main-window.html#about"); an empty page shows the contents page.
    void showPage(const QString& page);
    /// The page shown, without folder and anchor ("case-editor.html").
    QString currentPage() const;
    /// The anchor the page was opened at, empty when none.
    QString currentAnchor() const;

    /// The pages whose text holds every word of `words` (blank-separated,
    /// letter case ignored), in the order of the contents.
    QStringList search(const QString& words) const;
    /// Every page of the manual in the order of the contents, index first.
    QStringList pages() const;

    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Page {
        QString file;
        QString title;
        QString text; // plain text, for the search
    };

    void buildContents();
    void loadPages();
    void runSearch();
    void openResult(int row);
    void pageChanged(const QUrl& url);

    QString m_folder;
    std::vector<Page> m_pages;
    QString m_lastSearch;
    QTextBrowser* m_browser = nullptr;
    QTabWidget* m_side = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_searchField = nullptr;
    QListWidget* m_results = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
};

} // namespace ormavex::gui
