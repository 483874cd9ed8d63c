#include "gui/help/HelpWindow.h"

#include "gui/common/Widgets.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ormavex::gui {

namespace {

constexpr const char* kIndex = "index.html";
constexpr const char* kTitle = "Ormavex ヘルプ";

QString ReadPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// The page and the anchor of "page.html#anchor".
std::pair<QString, QString> SplitPage(const QString& page) {
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    if (hash < 0) {
        return {page, QString()};
    }
    return {page.left(hash), page.mid(hash + 1)};
}

} // namespace

HelpWindow::HelpWindow(QString manualFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(manualFolder)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(Q(kTitle));
    // The help window never keeps the program running by itself.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_browser = Named<QTextBrowser>("txtPage", this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_folder});
    m_browser->document()->setDefaultStyleSheet(
        QStringLiteral("th { background-color: #e6ecf2; } pre { background-color: #f3f3f3; }"));

    auto* bar = Named<QToolBar>("tbrHelp", this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto tool = [bar](const char* name, const char* text, const QKeySequence& keys,
                      const char* tip) {
        QAction* a = bar->addAction(Q(text));
        a->setObjectName(name);
        a->setShortcut(keys);
        a->setToolTip(Q(tip));
        return a;
    };
    m_back = tool("actBack", "← 戻る", QKeySequence::Back, "前に見たページへ戻る (Alt+←)");
    m_forward = tool("actForward", "進む →", QKeySequence::Forward, "戻る前のページへ進む (Alt+→)");
    QAction* home = tool("actContents", "目次", QKeySequence(Qt::ALT | Qt::Key_Home),
                         "目次のページ (Alt+Home)");
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showPage(QString()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);

    m_contents = Named<QTreeWidget>("treContents", this);
    m_contents->setHeaderHidden(true);
    for (auto chosen : {&QTreeWidget::itemClicked, &QTreeWidget::itemActivated}) {
        connect(m_contents, chosen, this, [this](QTreeWidgetItem* item) {
            const QString page = item->data(0, Qt::UserRole).toString();
            if (!page.isEmpty()) {
                showPage(page);
            }
        });
    }

    auto* searchPanel = new QWidget(this);
    m_searchField = Named<QLineEdit>("txtSearch", searchPanel);
    m_searchField->setPlaceholderText(Q("探す言葉（空白で区切ると全部を含むページ）"));
    m_searchField->setClearButtonEnabled(true);
    auto* searchButton = Named<QPushButton>("cmdSearch", Q("検索(&S)"), searchPanel);
    m_results = Named<QListWidget>("lstResults", searchPanel);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchField, 1);
    searchRow->addWidget(searchButton);
    auto* searchLayout = new QVBoxLayout(searchPanel);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_results, 1);
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        m_side->setCurrentIndex(1);
        m_searchField->setFocus();
        m_searchField->selectAll();
    });
    connect(m_searchField, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::runSearch);
    for (auto chosen : {&QListWidget::itemActivated, &QListWidget::itemClicked}) {
        connect(m_results, chosen, this,
                [this](QListWidgetItem* item) { openResult(m_results->row(item)); });
    }

    m_side = Named<QTabWidget>("tabSide", this);
    m_side->addTab(m_contents, Q("目次"));
    m_side->addTab(searchPanel, Q("検索"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 630});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);
    resize(940, 600);

    loadPages();
    buildContents();
}

HelpWindow::~HelpWindow() {
    // The browser's signals may come while its window is being taken down.
    m_browser->disconnect(this);
}

void HelpWindow::loadPages() {
    // The contents order: the index first, then its links; any page the
    // index does not name is searched as well.
    QStringList order{QString::fromLatin1(kIndex)};
    QTextDocument index;
    index.setHtml(ReadPage(m_folder + QLatin1Char('/') + QString::fromLatin1(kIndex)));
    for (QTextBlock b = index.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && f.charFormat().isAnchor()) {
                const QString page = SplitPage(f.charFormat().anchorHref()).first;
                if (page.endsWith(QStringLiteral(".html")) && !order.contains(page)) {
                    order << page;
                }
            }
        }
    }
    const QStringList others =
        QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& page : others) {
        if (!order.contains(page)) {
            order << page;
        }
    }
    for (const QString& file : order) {
        const QString html = ReadPage(m_folder + QLatin1Char('/') + file);
        if (html.isEmpty()) {
            continue;
        }
        QTextDocument doc;
        doc.setHtml(html);
        m_pages.push_back(
            {file, doc.metaInformation(QTextDocument::DocumentTitle), doc.toPlainText()});
    }
}

void HelpWindow::buildContents() {
    // The tree mirrors the index page: its third-level headings are the
    // groups, the links under each heading the pages.
    m_contents->clear();
    auto* top = new QTreeWidgetItem(m_contents, {Q("目次")});
    top->setData(0, Qt::UserRole, QString::fromLatin1(kIndex));
    QTextDocument index;
    index.setHtml(ReadPage(m_folder + QLatin1Char('/') + QString::fromLatin1(kIndex)));
    QTreeWidgetItem* group = nullptr;
    for (QTextBlock b = index.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 3) {
            group = new QTreeWidgetItem(m_contents, {b.text().trimmed()});
            continue;
        }
        if (group == nullptr) {
            continue;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && f.charFormat().isAnchor() &&
                f.charFormat().anchorHref().endsWith(QStringLiteral(".html"))) {
                // The page's own title is shorter than the index's wording.
                const QString file = SplitPage(f.charFormat().anchorHref()).first;
                QString title = f.text();
                for (const Page& p : m_pages) {
                    if (p.file == file && !p.title.isEmpty()) {
                        title = p.title;
                    }
                }
                auto* item = new QTreeWidgetItem(group, {title});
                item->setData(0, Qt::UserRole, f.charFormat().anchorHref());
                item->setToolTip(0, f.text());
                break;
            }
        }
    }
    m_contents->expandAll();
}

void HelpWindow::showPage(const QString& page) {
    auto [file, anchor] = SplitPage(page.isEmpty() ? QString::fromLatin1(kIndex) : page);
    const QString path = m_folder + QLatin1Char('/') + file;
    if (!QFileInfo(path).isFile()) {
        m_browser->setHtml(Q("<h1>説明書が見つかりません</h1><p>") + path.toHtmlEscaped() +
                           QStringLiteral("</p>"));
        setWindowTitle(Q(kTitle));
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    if (m_browser->source() == url) {
        // The same place again: back to its anchor (or the top).
        if (anchor.isEmpty()) {
            m_browser->moveCursor(QTextCursor::Start);
            m_browser->ensureCursorVisible();
        } else {
            m_browser->scrollToAnchor(anchor);
        }
        return;
    }
    m_browser->setSource(url);
}

QString HelpWindow::currentPage() const { return m_browser->source().fileName(); }

QString HelpWindow::currentAnchor() const { return m_browser->source().fragment(); }

QStringList HelpWindow::pages() const {
    QStringList list;
    for (const Page& p : m_pages) {
        list << p.file;
    }
    return list;
}

QStringList HelpWindow::search(const QString& words) const {
    const QStringList terms = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    if (terms.isEmpty()) {
        return found;
    }
    for (const Page& p : m_pages) {
        if (std::all_of(terms.begin(), terms.end(), [&p](const QString& t) {
                return p.text.contains(t, Qt::CaseInsensitive) ||
                       p.title.contains(t, Qt::CaseInsensitive);
            })) {
            found << p.file;
        }
    }
    return found;
}

void HelpWindow::runSearch() {
    // A full-width blank separates words as a half-width one does.
    m_lastSearch = m_searchField->text().replace(QChar(0x3000), QLatin1Char(' ')).trimmed();
    m_results->clear();
    const QStringList found = search(m_lastSearch);
    for (const QString& file : found) {
        for (const Page& p : m_pages) {
            if (p.file == file) {
                auto* item = new QListWidgetItem(p.title.isEmpty() ? p.file : p.title, m_results);
                item->setData(Qt::UserRole, p.file);
            }
        }
    }
    if (found.isEmpty() && !m_lastSearch.isEmpty()) {
        auto* item = new QListWidgetItem(Q("見つかりませんでした"), m_results);
        item->setFlags(Qt::NoItemFlags);
    }
    m_side->setCurrentIndex(1);
}

void HelpWindow::openResult(int row) {
    QListWidgetItem* item = m_results->item(row);
    const QString file = item ? item->data(Qt::UserRole).toString() : QString();
    if (file.isEmpty()) {
        return;
    }
    showPage(file);
    // The first place of the first word.
    const QString first = m_lastSearch.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    m_browser->moveCursor(QTextCursor::Start);
    if (!first.isEmpty()) {
        m_browser->find(first);
    }
}

void HelpWindow::pageChanged(const QUrl& url) {
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? Q(kTitle) : Q(kTitle) + QStringLiteral(" - ") + title);
    // The contents follow the page shown.
    const QString file = url.fileName();
    QTreeWidgetItemIterator it(m_contents);
    for (; *it != nullptr; ++it) {
        if (SplitPage((*it)->data(0, Qt::UserRole).toString()).first == file) {
            const QSignalBlocker block(m_contents);
            m_contents->setCurrentItem(*it);
            break;
        }
    }
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace ormavex::gui
