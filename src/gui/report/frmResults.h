#pragma once
// The results window "計算結果一覧": the calculated moments of every case on
// screen, to be read, copied into a spreadsheet or written as CSV instead of
// being retyped from the printout.
//
// Top: one row per case (title, table, λ, Lx/Ly, and for Mx and My the
// largest positive and the most negative value with its place Ⅰ–Ⅲ / ①–⑨),
// sortable by any column; a case whose governing moments at its real side
// ratio Lx/Ly differ from those at its λ by more than 3 % is marked. Below:
// the Mx and My grids of the selected case laid out as on the page (rows
// Ⅰ Ⅱ Ⅲ, points ① …), each row followed by the same row at the real side
// ratio, the governing values highlighted. Ctrl+C copies the selected cells
// of the table in focus, or the whole table when nothing is selected, as
// tab-separated text; "CSV出力" writes every case as a CSV file.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ormavex {
class CaseTable;
struct CalcArrays;
struct CaseFailure;
struct CaseSummary;
} // namespace ormavex

namespace ormavex::gui {

class Prompter;

class frmResults : public QDialog {
    Q_OBJECT
public:
    /// Summary table columns.
    enum Column {
        ColCase,
        ColTitle,
        ColType,
        ColLambda,
        ColRatio,
        ColMxMax,
        ColMxMaxAt,
        ColMxMin,
        ColMxMinAt,
        ColMyMax,
        ColMyMaxAt,
        ColMyMin,
        ColMyMinAt,
        ColReal,
        ColumnCount
    };

    /// `calc` holds the moments at each case's λ (a finished calculation);
    /// the moments at the real side ratios are computed here with the
    /// coefficient files of `dataFolder`. `projectFile` names the proposed CSV file.
    frmResults(const CaseTable& cases, const CalcArrays& calc, std::string dataFolder,
               std::string settingsFile, std::string projectFile, Prompter& prompter,
               QWidget* parent = nullptr);
    ~frmResults() override;

    /// The Mx (0) or My (1) grid of the selected case.
    QTableWidget* gridTable(int which) const { return which == 0 ? m_mx : m_my; }
    const CalcArrays& realRatioMoments() const { return *m_real; }

    /// Shows case `caseNo` in the grids and selects its summary row.
    void showCase(int caseNo);
    /// The tab-separated text Ctrl+C puts on the clipboard for `table`.
    static std::string TableText(const QTableWidget& table);
    /// Copies the table in focus (the summary when none has it).
    void copySelection();
    /// "CSV出力": asks for a file and writes the results CSV to it.
    void cmdCsv_Click();

protected:
    void done(int result) override;

private:
    void fillSummary();
    void fillGrid(QTableWidget* grid, bool mx, int caseNo);

    const CaseTable& m_cases;
    const CalcArrays& m_calc;
    std::unique_ptr<CalcArrays> m_real;
    std::vector<CaseFailure> m_realFailures;
    std::vector<CaseSummary> m_atLambda;
    std::vector<CaseSummary> m_atReal;
    std::string m_dataFolder;
    std::string m_settingsFile;
    std::string m_projectFile;
    Prompter& m_prompter;
    int m_shownCase = 0;

    QTableWidget* m_summary = nullptr;
    QTableWidget* m_mx = nullptr;
    QTableWidget* m_my = nullptr;
    QLabel* m_caseLabel = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_close = nullptr;
};

/// "Ⅱ-⑤": the place of a grid value (row 1..3, point 1..9); empty for row 0.
std::string PlaceText(int row, int point);

} // namespace ormavex::gui
