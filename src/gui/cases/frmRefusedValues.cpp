#include "gui/cases/frmRefusedValues.h"

#include "core/cases/CaseSheet.h"
#include "gui/common/Widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ormavex::gui {

namespace {

const char* const kHeadings[4] = {"行", "列", "貼り付けた値", "理由"};
} // namespace

frmRefusedValues::frmRefusedValues(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRefusedValues");
    setWindowTitle(Q("貼り付け結果の確認"));
    setSizeGripEnabled(true);

    m_summary = Named<QLabel>("lblSummary", this);
    m_summary->setWordWrap(true);

    m_list = Named<QTableWidget>("lstValues", 0, 4, this);
    QStringList headings;
    for (const char* h : kHeadings) {
        headings << Q(h);
    }
    m_list->setHorizontalHeaderLabels(headings);
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setWordWrap(true);
    m_list->setTextElideMode(Qt::ElideNone);
    QHeaderView* header = m_list->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::Interactive);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    m_list->setColumnWidth(2, 180);
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_list, &QTableWidget::cellActivated, this, [this](int line, int) {
        const Entry& e = m_entries[static_cast<std::size_t>(line)];
        if (e.row > 0 && e.column > 0) {
            emit cellChosen(e.row, e.column);
        }
    });

    m_copy = Named<QPushButton>("cmdCopy", Q("ｺﾋﾟｰ(&C)"), this);
    m_copy->setAutoDefault(false);
    m_close = Named<QPushButton>("cmdClose", Q("閉じる(&X)"), this);
    m_close->setAutoDefault(false);
    connect(m_copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(listText()); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    QHBoxLayout* buttons = Row({nullptr, m_copy, m_close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(760, 250);
}

void frmRefusedValues::setEntries(const std::vector<Entry>& entries, int stored) {
    m_entries = entries;
    m_summary->setText(
        QString(Q("次の %1 件は貼り付けできなかったか，変えて貼り付けました（ほかの %2 "
                  "件はそのまま貼り付けてあります）。行をﾀﾞﾌﾞﾙｸﾘｯｸすると，そのｾﾙに移動します。"))
            .arg(entries.size())
            .arg(stored));
    m_list->setRowCount(static_cast<int>(entries.size()));
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const Entry& e = entries[static_cast<std::size_t>(i)];
        const QString texts[4] = {e.row > 0 ? QString::number(e.row) : QString(Q("―")),
                                  e.column > 0 ? Q(SheetColumnInfo(e.column).heading)
                                               : QString(Q("―")),
                                  e.offered, e.reason};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setToolTip(texts[c]);
            if (c == 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_list->setItem(i, c, item);
        }
    }
    if (!entries.empty()) {
        m_list->setCurrentCell(0, 0);
    }
}

QString frmRefusedValues::listText() const {
    QString text;
    for (int c = 0; c < 4; ++c) {
        text += (c > 0 ? "\t" : "") + Q(kHeadings[c]);
    }
    text += "\r\n";
    for (int i = 0; i < m_list->rowCount(); ++i) {
        for (int c = 0; c < 4; ++c) {
            QString cell = m_list->item(i, c)->text();
            cell.replace(QRegularExpression("[\t\r\n]"), " "); // one line per value
            text += (c > 0 ? "\t" : "") + cell;
        }
        text += "\r\n";
    }
    return text;
}

} // namespace ormavex::gui
