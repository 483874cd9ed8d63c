#include "gui/cases/frmInpJyokenSS.h"

#include "core/app/CPrivateProfile.h"
#include "core/cases/CaseTable.h"
#include "core/cases/SideRatioCheck.h"
#include "core/cases/SideRatioList.h"
#include "core/text/LeadingNumber.h"
#include "gui/cases/CaseSheetDelegates.h"
#include "gui/cases/CaseSheetModel.h"
#include "gui/cases/NumberEdit.h"
#include "gui/cases/frmInpJyoken.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/help/HelpKey.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

// Twips of the layout rules at 96 dots per inch: 240 = 16 px, 360 = 24 px,
// 120 = 8 px, 60 = 4 px.
constexpr int kButtonGap = 16;
constexpr int kSheetGap = 24;
constexpr int kLegendGap = 8;
constexpr int kLegendTop = 4;

/// How long a notice about refused values stays in the status bar.
constexpr int kNoticeMs = 20000;

} // namespace

frmInpJyokenSS::frmInpJyokenSS(std::string settingsFile, std::string dataFolder, Prompter& prompter,
                               QWidget* parent)
    : CaseWindow(std::move(settingsFile), prompter, parent), m_dataFolder(std::move(dataFolder)) {
    setObjectName("frmInpJyokenSS");
    setWindowTitle(Q("計算条件の入力"));
    setSizeGripEnabled(true);
    m_runDialog = [](frmInpJyoken& dialog) { dialog.exec(); };

    buildSheet();
    connectSheet();
    buildButtons();
    buildLegend();
    buildStatusBar();
    buildActions();
    layOut();
    resize(1280, 620);
}

void frmInpJyokenSS::buildSheet() {
    m_undo = new QUndoStack(this);
    m_model = new CaseSheetModel(*m_undo, this);
    m_model->setSideRatioLists(SideRatioLists::Load(m_dataFolder));

    m_menu = new QMenuBar(this);
    m_toolbar = Named<QToolBar>("Toolbar1", this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    m_sheet = Named<QTableView>("vaSpread1", this);
    m_sheet->setModel(m_model);
    m_sheet->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_sheet->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed);
    m_sheet->verticalHeader()->setDefaultSectionSize(24);
    m_titleCells = new TitleCellDelegate(m_sheet);
    m_buttonCells = new ButtonCellDelegate(m_sheet);
    auto* choice = new ChoiceCellDelegate(m_sheet);
    auto* decimal = new DecimalCellDelegate(m_sheet);
    // Widths by column; [0] unused, as columns count from 1.
    const int widths[SheetColumns + 1] = {0, 220, 52, 200, 80, 80, 70, 70, 62, 52, 90, 90};
    for (int c = 1; c <= SheetColumns; ++c) {
        QAbstractItemDelegate* d = nullptr;
        switch (SheetColumnInfo(c).kind) {
        case SheetCellKind::Text: d = m_titleCells; break;
        case SheetCellKind::Button: d = m_buttonCells; break;
        case SheetCellKind::Choice: d = choice; break;
        case SheetCellKind::Decimal: d = decimal; break;
        }
        m_sheet->setItemDelegateForColumn(SheetSection(c), d);
        m_sheet->setColumnWidth(SheetSection(c), widths[c]);
    }
}

void frmInpJyokenSS::connectSheet() {
    connect(m_titleCells, &TitleCellDelegate::refused, this, &frmInpJyokenSS::showNotice);
    connect(m_model, &CaseSheetModel::refused, this, &frmInpJyokenSS::showNotice);
    // A valid entry ends an older notice about a refused value.
    connect(m_model, &CaseSheetModel::valueStored, this, [this] {
        if (!m_noticeEditor || m_noticeEditor != openEditor()) { // not this entry's own notice
            m_status->clearMessage();
        }
    });
    // Enter commits the cell and moves down, as in a spreadsheet; a refused
    // value keeps the cell active so that it can be typed again.
    // (one choice and one decimal delegate serve all their columns)
    for (QAbstractItemDelegate* d : std::initializer_list<QAbstractItemDelegate*>{
             m_titleCells, m_sheet->itemDelegateForColumn(SheetSection(SheetCol::TableType)),
             m_sheet->itemDelegateForColumn(SheetSection(SheetCol::Lx))}) {
        connect(d, &QAbstractItemDelegate::closeEditor, this,
                [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                    const bool refused = m_model->takeRefusal();
                    if (hint == QAbstractItemDelegate::SubmitModelCache && !refused) {
                        moveDown();
                    }
                });
    }
    m_sheet->installEventFilter(this);
    connect(m_buttonCells, &ButtonCellDelegate::clicked, this,
            &frmInpJyokenSS::openConditionDialog);
    connect(m_model, &CaseSheetModel::activeCellRequested, this,
            [this](int row, int column) { setActiveCell(column, std::min(row, MaxRows())); });
    connect(m_sheet->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { showHint(); });
    // An edit may mark or clear the active row's λ.
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { showHint(); });
    // Undo and redo may change the row count; Add and Insert follow the limit.
    connect(m_undo, &QUndoStack::indexChanged, this,
            [this] { setAddInsertEnabled(MaxRows() < UsrRecMax); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        auto inSheet = [this](QWidget* w) {
            return w && (w == m_sheet || m_sheet->isAncestorOf(w));
        };
        if (inSheet(now) && !inSheet(old)) {
            showHint();
        } else if (!inSheet(now) && inSheet(old)) {
            m_panel1->clear();
        }
    });
}

void frmInpJyokenSS::buildButtons() {
    buildOkCancelHelp();
    for (QPushButton* b : {m_ok, m_cancel, m_help}) {
        b->setFixedSize(110, 30);
    }
}

void frmInpJyokenSS::buildLegend() {
    m_legend = new QGroupBox(Q("補足説明"), this);
    auto* legend = new QGridLayout(m_legend);
    const char* memo[4][2] = {{"QA, QB", "；荷重強度(kN/m2)"},
                              {"Lx, Ly", "；版の大きさ(m)"},
                              {"Lx/Ly", "；実辺長比"},
                              {"λ", "；計算数表利用時の辺長比"}};
    for (int i = 0; i < 4; ++i) {
        auto* symbol = Named<QLabel>(QString("lblMemo_%1").arg(2 * i), Q(memo[i][0]), m_legend);
        auto* meaning =
            Named<QLabel>(QString("lblMemo_%1").arg(2 * i + 1), Q(memo[i][1]), m_legend);
        legend->addWidget(symbol, i / 2, (i % 2) * 2);
        legend->addWidget(meaning, i / 2, (i % 2) * 2 + 1);
    }
    legend->setHorizontalSpacing(10);
    legend->setColumnMinimumWidth(1, 200);
}

void frmInpJyokenSS::buildStatusBar() {
    m_status = Named<QStatusBar>("StatusBar1", this);
    m_status->setSizeGripEnabled(false);
    m_panel1 = Named<QLabel>("Panel1", m_status);
    m_panel2 = Named<QLabel>("Panel2", m_status);
    // Without a size grip the last panel would end at the window's edge.
    m_panel2->setContentsMargins(0, 0, 6, 0);
    m_status->addWidget(m_panel1, 1);
    m_status->addPermanentWidget(m_panel2);
}

void frmInpJyokenSS::layOut() {
    // The sheet fills the window beside the buttons; the legend lies below it
    // and the status bar at the bottom.
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, kLegendGap, kButtonGap, 0);
    buttons->setSpacing(kLegendGap);
    for (QPushButton* b : {m_ok, m_cancel, m_help}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* legendRow = new QHBoxLayout;
    legendRow->addSpacing(kLegendGap);
    legendRow->addWidget(m_legend);
    legendRow->addStretch();
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(m_sheet, 1);
    left->addSpacing(kLegendTop);
    left->addLayout(legendRow);
    left->addSpacing(kLegendGap - kLegendTop);
    auto* body = new QHBoxLayout;
    body->setSpacing(kSheetGap);
    body->addLayout(left, 1);
    body->addLayout(buttons);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->setMenuBar(m_menu);
    root->addWidget(m_toolbar);
    root->addLayout(body, 1);
    root->addWidget(m_status);
}

frmInpJyokenSS::~frmInpJyokenSS() {
    // The widgets below go after this object has stopped being an editor;
    // nothing they or the application signal may reach it any more.
    qApp->disconnect(this);
    m_sheet->selectionModel()->disconnect(this);
    m_model->disconnect(this);
    m_undo->disconnect(this);
}

void frmInpJyokenSS::buildActions() {
    QMenu* edit = m_menu->addMenu(Q("編集(&E)"));
    edit->setObjectName("mnuEdit");
    struct Item {
        const char* menuName;
        const char* caption;
        QKeySequence keys;
        const char* key; // toolbar button
        const char* tip;
        const char* iconText;
        void (frmInpJyokenSS::*slot)();
    };
    const Item items[] = {
        {"mnuCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X), "Cut", "切り取り(Ctrl+X)",
         "切り取り", &frmInpJyokenSS::mnuCut_Click},
        {"mnuCopy", "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), "Copy", "ｺﾋﾟｰ(Ctrl+C)", "ｺﾋﾟｰ",
         &frmInpJyokenSS::mnuCopy_Click},
        {"mnuPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), "Paste",
         "貼り付け(Ctrl+V)", "貼り付け", &frmInpJyokenSS::mnuPaste_Click},
        {nullptr, nullptr, {}, nullptr, nullptr, nullptr, nullptr},
        {"mnuAdd", "ﾃﾞｰﾀ行追加(&A)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus), "Add",
         "ﾃﾞｰﾀ行追加", "行追加", &frmInpJyokenSS::mnuAdd_Click},
        {"mnuInsert", "ﾃﾞｰﾀ行挿入(&I)", QKeySequence(Qt::SHIFT | Qt::Key_Insert), "Insert",
         "ﾃﾞｰﾀ行挿入(Shift+Ins)", "行挿入", &frmInpJyokenSS::mnuInsert_Click},
        {"mnuDelete", "ﾃﾞｰﾀ行削除(&D) ", QKeySequence(Qt::SHIFT | Qt::Key_Delete), "Delete",
         "ﾃﾞｰﾀ行削除(Shift+Del)", "行削除", &frmInpJyokenSS::mnuDelete_Click},
        {nullptr, nullptr, {}, nullptr, nullptr, nullptr, nullptr},
        {"mnuFitLambda", "λを実辺長比に合わせる(&L)", QKeySequence(Qt::CTRL | Qt::Key_L),
         "FitLambda", "λを実辺長比に合わせる(Ctrl+L)", "λ合わせ",
         &frmInpJyokenSS::fitLambdaToSpans},
    };
    for (const Item& item : items) {
        if (!item.menuName) {
            edit->addSeparator();
            m_toolbar->addSeparator();
            continue;
        }
        auto* menuAction = edit->addAction(Q(item.caption));
        menuAction->setObjectName(item.menuName);
        menuAction->setShortcut(item.keys);
        auto* button = m_toolbar->addAction(Q(item.iconText));
        button->setObjectName(item.key);
        button->setToolTip(Q(item.tip));
        const auto slot = item.slot;
        connect(menuAction, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        connect(button, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        if (slot == &frmInpJyokenSS::mnuAdd_Click) {
            // Ctrl+Shift++ as the menu shows it; Ctrl++ for a + key without
            // Shift and the keypad.
            menuAction->setShortcuts({item.keys, QKeySequence(Qt::CTRL | Qt::Key_Plus)});
            m_mnuAdd = menuAction;
            m_tbAdd = button;
        } else if (slot == &frmInpJyokenSS::mnuInsert_Click) {
            m_mnuInsert = menuAction;
            m_tbInsert = button;
        }
    }
    // Undo and redo of every change made in the window since it opened.
    edit->addSeparator();
    QAction* undo = m_undo->createUndoAction(this, Q("元に戻す(&U)"));
    undo->setObjectName("mnuUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = m_undo->createRedoAction(this, Q("やり直し(&R)"));
    redo->setObjectName("mnuRedo");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    edit->addAction(undo);
    edit->addAction(redo);
}

int frmInpJyokenSS::MaxRows() const { return m_model->rowCount(); }

void frmInpJyokenSS::setMaxRows(int rows) { m_model->setRows(rows); }

std::string frmInpJyokenSS::cellText(int column, int row) const {
    return m_model->text(row, column);
}

void frmInpJyokenSS::setCellText(int column, int row, const std::string& text) {
    m_model->setText(row, column, text);
}

std::string frmInpJyokenSS::statusText(int panel) const {
    return (panel == 1 ? m_panel1 : m_panel2)->text().toStdString();
}

void frmInpJyokenSS::setStatusText(int panel, const std::string& text) {
    (panel == 1 ? m_panel1 : m_panel2)->setText(Q(text));
}

std::string frmInpJyokenSS::noticeText() const { return m_status->currentMessage().toStdString(); }

int frmInpJyokenSS::activeColumn() const {
    const QModelIndex i = m_sheet->currentIndex();
    return i.isValid() ? SheetColumnAt(i) : 0;
}

int frmInpJyokenSS::activeRow() const {
    const QModelIndex i = m_sheet->currentIndex();
    return i.isValid() ? SheetRowAt(i) : 0;
}

void frmInpJyokenSS::setActiveCell(int column, int row) {
    const QModelIndex i = m_model->cellIndex(row, column);
    if (i.isValid()) {
        m_sheet->setCurrentIndex(i);
    }
}

void frmInpJyokenSS::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShowing()) {
        return;
    }
    restorePlacement();
    emit LoadData();
    m_undo->setClean(); // what Cancel may throw away starts here
    setActiveCell(1, 1);
    m_sheet->setFocus();
}

bool frmInpJyokenSS::eventFilter(QObject* watched, QEvent* event) {
    // Keys the sheet gets while no cell is being edited (an editor's keys reach
    // the sheet too when the editor leaves them; the delegate handles those).
    if (watched == m_sheet && event->type() == QEvent::KeyPress &&
        QApplication::focusWidget() == m_sheet) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
            mods == Qt::NoModifier) {
            clearCells();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            mods == Qt::NoModifier) {
            moveDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInpJyokenSS::moveDown() {
    const int row = activeRow();
    if (row >= 1 && row < MaxRows()) {
        setActiveCell(std::max<int>(SheetCol::Title, activeColumn()), row + 1);
        m_sheet->scrollTo(m_sheet->currentIndex());
    }
}

bool frmInpJyokenSS::edited() {
    commitEditor(); // a cell still being typed in counts
    return !m_undo->isClean();
}

void frmInpJyokenSS::done(int result) {
    if (m_refusals) {
        m_refusals->close(); // it tells about this sheet only
    }
    savePlacement();
    QDialog::done(result);
}

void frmInpJyokenSS::restorePlacement() {
    // Width and Height in twips, applied only when above 0; then the place.
    const double twipsPerPixel = 1440.0 / std::max(1, logicalDpiX());
    const int width = CPrivateProfile::GetValueLong(m_settingsFile, "InpJyokenSS", "Width");
    const int height = CPrivateProfile::GetValueLong(m_settingsFile, "InpJyokenSS", "Height");
    resize(width > 0 ? static_cast<int>(std::lround(width / twipsPerPixel)) : this->width(),
           height > 0 ? static_cast<int>(std::lround(height / twipsPerPixel)) : this->height());
    RestoreWindowPosition(*this, m_settingsFile, "InpJyokenSS", false);
}

void frmInpJyokenSS::savePlacement() const {
    SaveWindowPosition(*this, m_settingsFile, "InpJyokenSS");
    const double twipsPerPixel = 1440.0 / std::max(1, logicalDpiX());
    CPrivateProfile::SetValueString(m_settingsFile, "InpJyokenSS", "Width",
                                    std::to_string(std::lround(width() * twipsPerPixel)));
    CPrivateProfile::SetValueString(m_settingsFile, "InpJyokenSS", "Height",
                                    std::to_string(std::lround(height() * twipsPerPixel)));
}

void frmInpJyokenSS::setAddInsertEnabled(bool enabled) {
    for (QAction* a : {m_mnuAdd, m_mnuInsert, m_tbAdd, m_tbInsert}) {
        a->setEnabled(enabled);
    }
}

void frmInpJyokenSS::showHint() {
    const int column = activeColumn();
    const int row = activeRow();
    if (column < 1 || row < 1 || row > MaxRows()) {
        return;
    }
    QString hint = Q(SheetInputHint(column));
    const SideRatioFinding f = m_model->sideRatioFinding(row);
    if (f.mark != SideRatioMark::None) {
        hint +=
            (hint.isEmpty() ? QString() : Q("　")) + QString("※%1行目：").arg(row) + Q(f.reason);
    }
    m_panel1->setText(hint);
    m_panel1->setToolTip(hint);
}

void frmInpJyokenSS::showNotice(const QString& message) {
    m_status->showMessage(message, kNoticeMs);
    m_noticeEditor = openEditor();
}

QWidget* frmInpJyokenSS::openEditor() const {
    QWidget* w = QApplication::focusWidget();
    while (w && w->parentWidget() != m_sheet->viewport()) {
        w = w->parentWidget();
    }
    return w; // the only children of the viewport are cell editors
}

void frmInpJyokenSS::commitEditor() {
    // A cell still being typed in is taken before anything reads the sheet.
    if (QWidget* w = openEditor()) {
        const QModelIndex index = m_sheet->currentIndex();
        m_sheet->itemDelegateForIndex(index)->setModelData(w, m_model, index);
        m_sheet->setFocus(); // closes the editor; nothing more to commit
    }
}

bool frmInpJyokenSS::selectedBlock(int& top, int& left, int& bottom, int& right) const {
    const QModelIndexList selected = m_sheet->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        const QModelIndex current = m_sheet->currentIndex();
        if (!current.isValid()) {
            return false;
        }
        top = bottom = SheetRowAt(current);
        left = right = SheetColumnAt(current);
        return true;
    }
    top = left = 1 << 20;
    bottom = right = 0;
    for (const QModelIndex& i : selected) {
        top = std::min(top, SheetRowAt(i));
        bottom = std::max(bottom, SheetRowAt(i));
        left = std::min(left, SheetColumnAt(i));
        right = std::max(right, SheetColumnAt(i));
    }
    return true;
}

void frmInpJyokenSS::copyBlock(bool cut) {
    commitEditor();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!selectedBlock(top, left, bottom, right)) {
        return;
    }
    std::vector<std::vector<std::string>> block;
    for (int r = top; r <= bottom; ++r) {
        std::vector<std::string>& row = block.emplace_back();
        for (int c = left; c <= right; ++c) {
            row.push_back(SheetClipboardText(c, m_model->text(r, c)));
        }
    }
    QGuiApplication::clipboard()->setText(Q(JoinClipboardBlock(block)));
    if (cut) {
        clearBlock(Q("切り取り"), top, left, bottom, right);
    }
}

void frmInpJyokenSS::clearBlock(const QString& label, int top, int left, int bottom, int right) {
    bool spanKept = false;
    m_model->edit(label,
                  [&](SheetRows& rows) {
                      for (int r = top; r <= bottom; ++r) {
                          spanKept =
                              ClearSheetCells(rows[static_cast<std::size_t>(r - 1)], left, right) ||
                              spanKept;
                      }
                  },
                  {activeRow(), activeColumn()});
    if (spanKept) {
        showNotice(Q("Lx, Ly は空欄にできないため，元の値のままです"));
    } else {
        m_status->clearMessage();
    }
}

void frmInpJyokenSS::clearCells() {
    commitEditor();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (selectedBlock(top, left, bottom, right)) {
        clearBlock(Q("削除"), top, left, bottom, right);
    }
}

void frmInpJyokenSS::mnuCut_Click() { copyBlock(true); }

void frmInpJyokenSS::mnuCopy_Click() { copyBlock(false); }

void frmInpJyokenSS::mnuPaste_Click() {
    commitEditor();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!selectedBlock(top, left, bottom, right) && MaxRows() > 0) {
        return;
    }
    if (MaxRows() == 0) { // an empty sheet takes a paste from its first cell
        top = bottom = left = right = 1;
    }
    const auto block = SplitClipboardBlock(QGuiApplication::clipboard()->text().toStdString());
    if (block.empty()) {
        return;
    }
    std::vector<frmRefusedValues::Entry> refusals;
    int stored = 0;
    int rowsLeftOut = 0;
    int lastRow = top;
    int lastColumn = left;
    const int limit = std::max(UsrRecMax, MaxRows());
    m_model->edit(Q("貼り付け"),
                  [&](SheetRows& rows) {
                      for (std::size_t i = 0; i < block.size(); ++i) {
                          const int r = top + static_cast<int>(i);
                          if (r > limit) {
                              ++rowsLeftOut;
                              continue;
                          }
                          // Past the last row: a new row, as Add makes it, in the same step.
                          while (r > static_cast<int>(rows.size())) {
                              rows.push_back(SheetDefaultRow());
                          }
                          SheetRow& row = rows[static_cast<std::size_t>(r - 1)];
                          lastRow = r;
                          for (std::size_t j = 0; j < block[i].size(); ++j) {
                              const int c = left + static_cast<int>(j);
                              if (c > SheetColumns) {
                                  break;
                              }
                              lastColumn = std::max(lastColumn, c);
                              const SheetValueStatus status = PutSheetValue(row, c, block[i][j]);
                              const QString reason = RefusalReason(c, block[i][j], status);
                              if (!reason.isEmpty()) {
                                  refusals.push_back({r, c, Q(block[i][j]), reason});
                              }
                              if (status == SheetValueStatus::Stored) {
                                  ++stored;
                              }
                          }
                      }
                  },
                  {top, left});
    if (rowsLeftOut > 0) {
        refusals.push_back(
            {0, 0, QString("%1 行").arg(rowsLeftOut),
             QString("最大検討ｹｰｽ数 %1 を超えるため，%1行目より下には貼り付けていません")
                 .arg(limit)});
    }
    setAddInsertEnabled(MaxRows() < UsrRecMax);
    // The pasted block stays selected, as in a spreadsheet.
    m_sheet->selectionModel()->select(
        QItemSelection(m_model->cellIndex(top, left),
                       m_model->cellIndex(lastRow, std::min(lastColumn, SheetColumns))),
        QItemSelectionModel::ClearAndSelect);
    if (refusals.empty()) {
        m_status->clearMessage();
        if (m_refusals) {
            m_refusals->close(); // an older list no longer tells the sheet's state
        }
        return;
    }
    showRefusals(refusals, stored);
}

void frmInpJyokenSS::showRefusals(const std::vector<frmRefusedValues::Entry>& entries, int stored) {
    showNotice(QString(Q("貼り付けできなかった値などが %1 件あります（一覧：貼り付け結果の確認）"))
                   .arg(entries.size()));
    if (!m_refusals) {
        m_refusals = new frmRefusedValues(this);
        connect(m_refusals, &frmRefusedValues::cellChosen, this, [this](int row, int column) {
            if (row <= MaxRows()) {
                setActiveCell(column, row);
                activateWindow();
                m_sheet->setFocus();
            }
        });
    }
    m_refusals->setEntries(entries, stored);
    if (!m_refusals->isVisible()) {
        // Over the bottom of the editor (its legend and status bar), so that
        // most rows stay in sight, and wholly on its screen.
        const QRect frame = frameGeometry();
        QRect r(QPoint(0, 0), m_refusals->size());
        r.moveCenter(QPoint(frame.center().x(), 0));
        r.moveBottom(frame.bottom() - 8);
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            r.setSize(r.size().boundedTo(area.size() - QSize(40, 60)));
            r.moveLeft(std::clamp(r.left(), area.left(), area.right() - r.width() - 20));
            r.moveTop(std::clamp(r.top(), area.top(), area.bottom() - r.height() - 40));
        }
        m_refusals->setGeometry(r);
    }
    m_refusals->show();
    m_refusals->raise();
}

void frmInpJyokenSS::mnuAdd_Click() { insertRow(true, Q("ﾃﾞｰﾀ行追加")); }

void frmInpJyokenSS::mnuInsert_Click() { insertRow(false, Q("ﾃﾞｰﾀ行挿入")); }

void frmInpJyokenSS::insertRow(bool append, const QString& label) {
    commitEditor();
    if (MaxRows() >= UsrRecMax) {
        return;
    }
    // The new row gets the cursor, in the active column.
    const int row = append ? MaxRows() + 1 : std::max(1, activeRow());
    const int column = std::max<int>(SheetCol::Title, activeColumn());
    m_model->edit(
        label, [row](SheetRows& rows) { rows.insert(rows.begin() + (row - 1), SheetDefaultRow()); },
        {row, column});
    m_sheet->scrollTo(m_sheet->currentIndex());
    if (MaxRows() >= UsrRecMax) {
        setAddInsertEnabled(false);
    }
}

void frmInpJyokenSS::mnuDelete_Click() {
    commitEditor();
    const int row = activeRow();
    if (MaxRows() < 1 || row < 1) {
        return;
    }
    m_model->edit(Q("ﾃﾞｰﾀ行削除"), [row](SheetRows& rows) { rows.erase(rows.begin() + (row - 1)); },
                  {row, activeColumn()});
    setAddInsertEnabled(true);
}

void frmInpJyokenSS::fitLambdaToSpans() {
    commitEditor();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!selectedBlock(top, left, bottom, right)) {
        return;
    }
    QStringList leftAlone;
    m_model->edit(Q("λを実辺長比に合わせる"),
                  [&](SheetRows& rows) {
                      for (int r = top; r <= bottom; ++r) {
                          const SideRatioFinding f = m_model->sideRatioFinding(r);
                          if (!f.hasNearest) {
                              leftAlone << QString("%1行目").arg(r);
                              continue;
                          }
                          rows[static_cast<std::size_t>(r - 1)][SheetCol::Lambda] =
                              PlainNumberText(RoundHalfEven(f.nearest, 2));
                      }
                  },
                  {activeRow(), activeColumn()});
    // A ratio beyond the table's ends gets the end's λ, which stays marked: say why.
    QStringList beyond;
    for (int r = top; r <= bottom; ++r) {
        if (m_model->sideRatioFinding(r).mark == SideRatioMark::FarFromSpans) {
            beyond << QString("%1行目").arg(r);
        }
    }
    QStringList notes;
    if (!leftAlone.isEmpty()) {
        notes << leftAlone.join(Q("，")) +
                     Q("：Lx, Ly または計算数表の辺長比一覧がないため λ はそのままです");
    }
    if (!beyond.isEmpty()) {
        notes << beyond.join(Q("，")) +
                     Q("：Lx/Ly が計算数表の辺長比の範囲の外のため λ を範囲の端にしました");
    }
    if (!notes.isEmpty()) {
        showNotice(notes.join(Q("　")));
    }
}

void frmInpJyokenSS::openConditionDialog(int row) {
    commitEditor();
    setActiveCell(SheetCol::Button, row);
    frmInpJyoken dialog(m_settingsFile, m_prompter, this);
    dialog.UsrCaption = "ﾃﾞｰﾀ№" + std::to_string(row);
    dialog.UsrHelpFile = HelpFile(QStringLiteral("case-dialog.html"));
    dialog.UsrHelpContextID = 0;
    connect(&dialog, &frmInpJyoken::LoadData, this, &frmInpJyokenSS::objInpJyoken_LoadData);
    connect(&dialog, &frmInpJyoken::SaveData, this, &frmInpJyokenSS::objInpJyoken_SaveData);
    connect(&dialog, &frmInpJyoken::LoadRamuda, this, &frmInpJyokenSS::objInpJyoken_LoadRamuda);
    m_objInpJyoken = &dialog;
    m_runDialog(dialog);
    m_objInpJyoken = nullptr;
}

void frmInpJyokenSS::objInpJyoken_LoadData() {
    const int row = activeRow();
    if (row >= 1) {
        m_objInpJyoken->showRow(m_model->row(row));
    }
}

void frmInpJyokenSS::objInpJyoken_SaveData(bool& Cancel) {
    const int row = activeRow();
    if (row < 1) {
        return;
    }
    m_model->edit(
        Q("計算条件の入力"),
        [&](SheetRows& rows) { m_objInpJyoken->takeRow(rows[static_cast<std::size_t>(row - 1)]); },
        {row, activeColumn()});
    Cancel = false;
}

void frmInpJyokenSS::objInpJyoken_LoadRamuda(short& Index) {
    m_objInpJyoken->setLambdaItems(LoadSideRatioList(SideRatioListPath(m_dataFolder), Index));
}

bool frmInpJyokenSS::takeTyped() {
    commitEditor();
    return true;
}

} // namespace ormavex::gui
