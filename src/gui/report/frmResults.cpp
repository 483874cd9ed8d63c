#include "gui/report/frmResults.h"

#include "core/app/Messages.h"
#include "core/calc/MomentSummary.h"
#include "core/calc/RealRatio.h"
#include "core/cases/CaseSheet.h"
#include "core/cases/CaseTable.h"
#include "core/text/FileReplace.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/dialogs/CFileDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

constexpr const char* kSection = "Results";
constexpr double kRealLimit = 0.03;
const QColor kMaxColour(255, 224, 160); // largest positive
const QColor kMinColour(200, 220, 255); // most negative
const QColor kMarkColour(255, 200, 200);
const char* const kRows[] = {"Ⅰ", "Ⅱ", "Ⅲ"};
const char* const kPoints[] = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨"};

/// A moment as the report prints it: two decimals, never "-0.00".
QString MomentText(double value) {
    if (std::fabs(value) < 0.005) {
        value = 0.0;
    }
    return QString::number(value, 'f', 2);
}

/// A summary cell: sorts by its number (UserRole) when it has one, else by its text.
class SummaryItem : public QTableWidgetItem {
public:
    SummaryItem(const QString& text, QVariant sortKey) : QTableWidgetItem(text) {
        setData(Qt::UserRole, std::move(sortKey));
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant a = data(Qt::UserRole);
        const QVariant b = other.data(Qt::UserRole);
        if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double) {
            return a.toDouble() < b.toDouble();
        }
        if (a.typeId() == QMetaType::Double) {
            return true; // numbers before blanks
        }
        if (b.typeId() == QMetaType::Double) {
            return false;
        }
        return text() < other.text();
    }
};

/// A table whose Ctrl+C copies tab-separated text instead of one cell.
class CopyTable : public QTableWidget {
public:
    CopyTable(frmResults& owner, QWidget* parent) : QTableWidget(parent), m_owner(owner) {
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setTabKeyNavigation(false); // Tab goes on to the next control
        verticalHeader()->setDefaultSectionSize(22);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            m_owner.copySelection();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }

private:
    frmResults& m_owner;
};

} // namespace

std::string PlaceText(int row, int point) {
    if (row < 1 || row > 3 || point < 1 || point > 9) {
        return {};
    }
    return std::string(kRows[row - 1]) + "-" + kPoints[point - 1];
}

frmResults::frmResults(const CaseTable& cases, const CalcArrays& calc, std::string dataFolder,
                       std::string settingsFile, std::string projectFile, Prompter& prompter,
                       QWidget* parent)
    : QDialog(parent), m_cases(cases), m_calc(calc), m_real(std::make_unique<CalcArrays>()),
      m_dataFolder(std::move(dataFolder)), m_settingsFile(std::move(settingsFile)),
      m_projectFile(std::move(projectFile)), m_prompter(prompter) {
    setObjectName("frmResults");
    setWindowTitle(Q("計算結果一覧"));
    setSizeGripEnabled(true);

    auto* summaryLabel =
        new QLabel(Q("検討ｹｰｽ一覧(&L)　曲げﾓｰﾒﾝﾄ (kN･m/m)　位置：行 Ⅰ～Ⅲ－点 ①～"), this);
    m_summary = Named<CopyTable>("tblSummary", *this, this);
    summaryLabel->setBuddy(m_summary);
    m_summary->setColumnCount(ColumnCount);
    const char* headings[ColumnCount] = {"№",     "検討ｹｰｽ名称",   "計算数表", "λ",
                                         "Lx/Ly", "Mx 最大(+)",    "位置",     "Mx 最小(−)",
                                         "位置",  "My 最大(+)",    "位置",     "My 最小(−)",
                                         "位置",  "実辺長比での差"};
    QStringList headingList;
    for (const char* h : headings) {
        headingList << Q(h);
    }
    m_summary->setHorizontalHeaderLabels(headingList);
    m_summary->verticalHeader()->hide();
    m_summary->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_summary->setSelectionMode(QAbstractItemView::ContiguousSelection);
    const int widths[ColumnCount] = {36, 220, 200, 48, 52, 84, 50, 84, 50, 84, 50, 84, 50, 110};
    for (int c = 0; c < ColumnCount; ++c) {
        m_summary->setColumnWidth(c, widths[c]);
    }
    m_summary->horizontalHeader()->setStretchLastSection(true);

    m_caseLabel = Named<QLabel>("lblCase", this);
    m_mx = Named<CopyTable>("tblMx", *this, this);
    m_my = Named<CopyTable>("tblMy", *this, this);
    auto* mxLabel = new QLabel(Q("Mx (kN･m/m)(&M)"), this);
    mxLabel->setBuddy(m_mx);
    auto* myLabel = new QLabel(Q("My (kN･m/m)(&Y)"), this);
    myLabel->setBuddy(m_my);
    for (QTableWidget* grid : {m_mx, m_my}) {
        grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
        grid->horizontalHeader()->setDefaultSectionSize(76);
        grid->verticalHeader()->setDefaultSectionSize(21);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_note = Named<QLabel>("lblNote", this);
    m_note->setTextFormat(Qt::RichText);
    m_note->setText(Q("<span style='background:#ffe0a0'>&nbsp;最大(+)&nbsp;</span>　"
                      "<span style='background:#c8dcff'>&nbsp;最小(−)&nbsp;</span>　"
                      "各行の下の「実辺長比」は Lx/Ly での値（計算数表の λ の間を補間）　"
                      "<span style='background:#ffc8c8'>&nbsp;※&nbsp;</span> "
                      "実辺長比での最大・最小が λ での値と 3% を超えて違う検討ｹｰｽ"));
    m_note->setWordWrap(true);

    m_copy = Named<QPushButton>("cmdCopy", Q("ｺﾋﾟｰ(&C)"), this);
    m_copy->setToolTip(Q("選択した範囲（なければ表全体）をﾀﾌﾞ区切りでｺﾋﾟｰ (Ctrl+C)"));
    m_csv = Named<QPushButton>("cmdCsv", Q("CSV出力(&S)"), this);
    m_close = Named<QPushButton>("cmdClose", Q("閉じる(&X)"), this);
    for (QPushButton* b : {m_copy, m_csv, m_close}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
    }
    connect(m_copy, &QPushButton::clicked, this, [this] { copySelection(); });
    connect(m_csv, &QPushButton::clicked, this, [this] { cmdCsv_Click(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(summaryLabel);
    topLayout->addWidget(m_summary);
    auto* bottom = new QWidget(this);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_caseLabel);
    bottomLayout->addWidget(mxLabel);
    bottomLayout->addWidget(m_mx);
    bottomLayout->addWidget(myLabel);
    bottomLayout->addWidget(m_my);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_note, 1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_csv);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    fillSummary();
    connect(m_summary, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) {
            if (QTableWidgetItem* item = m_summary->item(row, ColCase)) {
                showCase(item->data(Qt::UserRole).toInt());
            }
        }
    });
    m_summary->setSortingEnabled(true);
    m_summary->sortByColumn(ColCase, Qt::AscendingOrder);
    showCase(m_cases.CaseCount >= 1 ? 1 : 0);
    // 1366 × 768 and smaller screens: the window never grows beyond 1300 × 700.
    resize(1300, 700);
    RestoreWindowPosition(*this, m_settingsFile, kSection, true);
    m_summary->setFocus();
}

frmResults::~frmResults() = default;

void frmResults::fillSummary() {
    std::vector<CaseFailure> failures;
    CalcMomentsAtRealRatio(m_cases, *m_real, m_dataFolder, &failures);
    m_realFailures = failures;
    const int count = std::clamp(static_cast<int>(m_cases.CaseCount), 0, MaxCases);
    m_summary->setRowCount(count);
    m_atLambda.clear();
    m_atReal.clear();
    for (int c = 1; c <= count; ++c) {
        const CaseSummary lam = SummariseCase(m_calc, c);
        const CaseSummary real = SummariseCase(*m_real, c);
        m_atLambda.push_back(lam);
        m_atReal.push_back(real);
        const int r = c - 1;
        auto put = [&](int column, const QString& text, QVariant key) {
            auto* item = new SummaryItem(text, std::move(key));
            if (column != ColTitle && column != ColType) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_summary->setItem(r, column, item);
            return item;
        };
        put(ColCase, QString::number(c), c);
        put(ColTitle, Q(m_cases.title(c)), QVariant());
        std::int32_t type = 0;
        const TableTypeInfo* info = m_cases.tableTypeIndex(c, type) ? TableType(type + 1) : nullptr;
        put(ColType, info ? Q(info->listText) : QString(), QVariant());
        put(ColLambda, QString::number(m_cases.lambda(c), 'f', 2), m_cases.lambda(c));
        const double ratio = m_cases.ly(c) > 0 ? m_cases.lx(c) / m_cases.ly(c) : 0.0;
        put(ColRatio, QString::number(ratio, 'f', 2), ratio);
        const struct {
            const Governing& g;
            int valueColumn;
        } governing[] = {{lam.mxMax, ColMxMax},
                         {lam.mxMin, ColMxMin},
                         {lam.myMax, ColMyMax},
                         {lam.myMin, ColMyMin}};
        for (const auto& [g, column] : governing) {
            if (g.row == 0) {
                put(column, QString(), QVariant());
                put(column + 1, QString(), QVariant());
                continue;
            }
            put(column, MomentText(g.value), g.value);
            put(column + 1, Q(PlaceText(g.row, g.point)), g.row * 10 + g.point);
        }
        const auto failed = std::find_if(failures.begin(), failures.end(),
                                         [c](const CaseFailure& f) { return f.caseNo == c; });
        if (failed != failures.end()) {
            QTableWidgetItem* item = put(ColReal, Q("－"), QVariant());
            item->setToolTip(Q(failed->cause));
            continue;
        }
        const double change = GoverningChange(lam, real);
        const bool marked = RealRatioDiffers(lam, real, kRealLimit);
        QTableWidgetItem* item = put(
            ColReal, (marked ? Q("※ ") : QString()) + QString::number(change * 100, 'f', 1) + "%",
            change);
        item->setToolTip(marked
                             ? Q("実辺長比 Lx/Ly での最大・最小が λ での値と 3% を超えて違います")
                             : Q("実辺長比 Lx/Ly での最大・最小と λ での値の差"));
        if (marked) {
            for (int column = 0; column < ColumnCount; ++column) {
                m_summary->item(r, column)->setBackground(kMarkColour);
            }
        }
    }
}

void frmResults::fillGrid(QTableWidget* grid, bool mx, int caseNo) {
    grid->clear();
    const bool valid = caseNo >= 1 && caseNo <= m_cases.CaseCount;
    const int rows = valid ? m_calc.CalcRowCount[caseNo] : 0;
    const int points = valid ? m_calc.CalcPointCount[caseNo] : 0;
    const bool hasReal = valid && m_real->CalcPointCount[caseNo] == points && points > 0;
    grid->setRowCount(rows * 2);
    grid->setColumnCount(points);
    QStringList columns;
    for (int p = 1; p <= points; ++p) {
        columns << Q(kPoints[p - 1]);
    }
    grid->setHorizontalHeaderLabels(columns);
    QStringList rowHeads;
    for (int r = 1; r <= rows; ++r) {
        rowHeads << Q(kRows[r - 1]) + Q("  λ") << Q(kRows[r - 1]) + Q("  実辺長比");
    }
    grid->setVerticalHeaderLabels(rowHeads);
    if (!valid) {
        return;
    }
    const CaseSummary& lam = m_atLambda[static_cast<std::size_t>(caseNo - 1)];
    const CaseSummary& real = m_atReal[static_cast<std::size_t>(caseNo - 1)];
    const Governing& lamMax = mx ? lam.mxMax : lam.myMax;
    const Governing& lamMin = mx ? lam.mxMin : lam.myMin;
    const Governing& realMax = mx ? real.mxMax : real.myMax;
    const Governing& realMin = mx ? real.mxMin : real.myMin;
    const PerCase<MomentGrid>& at = mx ? m_calc.CalcMx : m_calc.CalcMy;
    const PerCase<MomentGrid>& atReal = mx ? m_real->CalcMx : m_real->CalcMy;
    QFont bold = grid->font();
    bold.setBold(true);
    auto put = [&](int gridRow, int point, const QString& text, bool isMax, bool isMin) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (isMax || isMin) {
            item->setBackground(isMax ? kMaxColour : kMinColour);
            item->setFont(bold);
            item->setToolTip(isMax ? Q("最大(+)") : Q("最小(−)"));
        }
        grid->setItem(gridRow, point - 1, item);
    };
    for (int r = 1; r <= rows; ++r) {
        for (int p = 1; p <= points; ++p) {
            put(2 * (r - 1), p, MomentText(at[caseNo](r, p)), lamMax.row == r && lamMax.point == p,
                lamMin.row == r && lamMin.point == p);
            if (hasReal) {
                put(2 * (r - 1) + 1, p, MomentText(atReal[caseNo](r, p)),
                    realMax.row == r && realMax.point == p, realMin.row == r && realMin.point == p);
            } else {
                put(2 * (r - 1) + 1, p, Q("－"), false, false);
            }
        }
    }
    const int height = grid->horizontalHeader()->height() + grid->rowCount() * 21 + 4;
    grid->setFixedHeight(std::max(height, 60));
}

void frmResults::showCase(int caseNo) {
    m_shownCase = caseNo;
    fillGrid(m_mx, true, caseNo);
    fillGrid(m_my, false, caseNo);
    if (caseNo < 1 || caseNo > m_cases.CaseCount) {
        m_caseLabel->setText(QString());
        return;
    }
    const double ratio = m_cases.ly(caseNo) > 0 ? m_cases.lx(caseNo) / m_cases.ly(caseNo) : 0.0;
    QString text = QString("№%1　%2　　λ = %3　　実辺長比 Lx/Ly = %4 (Lx = %5 m, Ly = %6 m)")
                       .arg(caseNo)
                       .arg(Q(m_cases.title(caseNo)))
                       .arg(m_cases.lambda(caseNo), 0, 'f', 2)
                       .arg(ratio, 0, 'f', 3)
                       .arg(Q(PlainNumberText(m_cases.lx(caseNo))))
                       .arg(Q(PlainNumberText(m_cases.ly(caseNo))));
    for (const CaseFailure& f : m_realFailures) {
        if (f.caseNo == caseNo) {
            text += Q("　　実辺長比での値なし：") + Q(f.cause);
        }
    }
    m_caseLabel->setText(text);
    for (int r = 0; r < m_summary->rowCount(); ++r) {
        QTableWidgetItem* item = m_summary->item(r, ColCase);
        if (item && item->data(Qt::UserRole).toInt() == caseNo && m_summary->currentRow() != r) {
            m_summary->setCurrentCell(
                r, m_summary->currentColumn() < 0 ? 0 : m_summary->currentColumn());
        }
    }
}

std::string frmResults::TableText(const QTableWidget& table) {
    const QList<QTableWidgetSelectionRange> ranges = table.selectedRanges();
    std::vector<std::vector<std::string>> block;
    auto cell = [&](int r, int c) {
        const QTableWidgetItem* item = table.item(r, c);
        return item ? item->text().toStdString() : std::string();
    };
    auto heading = [](const QTableWidget& t, Qt::Orientation o, int i) {
        const QTableWidgetItem* item =
            o == Qt::Horizontal ? t.horizontalHeaderItem(i) : t.verticalHeaderItem(i);
        return item ? item->text().toStdString() : std::string();
    };
    // Several cells chosen: the block around them; one cell or none: the whole
    // table with its headings.
    int top = table.rowCount(), left = table.columnCount(), bottom = -1, right = -1, cells = 0;
    for (const QTableWidgetSelectionRange& s : ranges) {
        top = std::min(top, s.topRow());
        left = std::min(left, s.leftColumn());
        bottom = std::max(bottom, s.bottomRow());
        right = std::max(right, s.rightColumn());
        cells += s.rowCount() * s.columnCount();
    }
    if (cells > 1) {
        for (int r = top; r <= bottom; ++r) {
            std::vector<std::string>& row = block.emplace_back();
            for (int c = left; c <= right; ++c) {
                row.push_back(cell(r, c));
            }
        }
        return JoinClipboardBlock(block);
    }
    const bool rowHeads = table.verticalHeader()->isVisible();
    std::vector<std::string>& head = block.emplace_back();
    if (rowHeads) {
        head.emplace_back();
    }
    for (int c = 0; c < table.columnCount(); ++c) {
        head.push_back(heading(table, Qt::Horizontal, c));
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        std::vector<std::string>& row = block.emplace_back();
        if (rowHeads) {
            row.push_back(heading(table, Qt::Vertical, r));
        }
        for (int c = 0; c < table.columnCount(); ++c) {
            row.push_back(cell(r, c));
        }
    }
    return JoinClipboardBlock(block);
}

void frmResults::copySelection() {
    QTableWidget* table = m_summary;
    for (QTableWidget* t : {m_mx, m_my}) {
        if (t->hasFocus()) {
            table = t;
        }
    }
    QGuiApplication::clipboard()->setText(Q(TableText(*table)));
}

void frmResults::cmdCsv_Click() {
    const QFileInfo project(Q(m_projectFile));
    CFileDialog dialog;
    dialog.DialogTitle = "CSV出力";
    dialog.DefaultExt = ".csv";
    dialog.Filter = "CSVﾌｧｲﾙ(*.csv)|*.csv";
    dialog.FilterIndex = 1;
    dialog.Flags = CFileDialog::OFN_OVERWRITEPROMPT | CFileDialog::OFN_HIDEREADONLY |
                   CFileDialog::OFN_PATHMUSTEXIST;
    dialog.InitialDir =
        m_projectFile.empty() ? std::string() : project.absolutePath().toStdString();
    dialog.FileName = m_projectFile.empty()
                          ? std::string("results.csv")
                          : (project.completeBaseName() + "-results.csv").toStdString();
    dialog.hWndParent = this;
    if (!m_prompter.fileDialog(dialog, false)) {
        return;
    }
    const std::string bytes = ResultsCsv(m_cases, m_calc, m_real.get());
    // Written as every other file: a failed write keeps what was there.
    Error error;
    if (!ReplaceFileContents(dialog.FileName, bytes, error)) {
        m_prompter.show(this, {"CSV出力",
                               "CSVﾌｧｲﾙを作成することができませんでした。\n\n" + dialog.FileName +
                                   "\n" + FileErrorReasonText(error.code()),
                               Message::Icon::Critical});
    }
}

void frmResults::done(int result) {
    SaveWindowPosition(*this, m_settingsFile, kSection);
    QDialog::done(result);
}

} // namespace ormavex::gui
