#pragma once
// "貼り付け結果の確認": the values a paste into the case table editor could not
// store, or stored changed, one per line with the row, the column, the value
// as pasted and the reason, so that the whole list can be read, copied and
// worked through. The editor shows it beside itself, not modally: a double
// click (or Enter) on a line makes that cell the editor's active cell.

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ormavex::gui {

class frmRefusedValues : public QDialog {
    Q_OBJECT
public:
    struct Entry {
        int row = 0;    ///< 1-based; 0 for a line about rows left out
        int column = 0; ///< 1-based; 0 for a line about rows left out
        QString offered;
        QString reason;
    };

    explicit frmRefusedValues(QWidget* parent = nullptr);

    /// Fills the list; `stored` is the number of values the paste did store.
    void setEntries(const std::vector<Entry>& entries, int stored);

    /// The list as tab-separated lines with a heading line, as "ｺﾋﾟｰ" puts it on the clipboard.
    QString listText() const;

signals:
    /// A line was chosen: its cell (row and column 1-based).
    void cellChosen(int row, int column);

private:
    std::vector<Entry> m_entries;
    QLabel* m_summary = nullptr;
    QTableWidget* m_list = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace ormavex::gui
