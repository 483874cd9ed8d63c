#pragma once
// The case condition dialog "計算条件の入力": one case in labelled fields,
// option groups and the side-ratio choice list. It holds no data of its own:
// LoadData asks the opener to fill the fields, SaveData to take them back,
// LoadRamuda(Index) to fill the side-ratio list of a table type. The dialog
// keeps the real side ratio Lx / Ly up to date, proposes the tabulated λ,
// switches the spans between 2 and 3 decimal places and reports numbers typed
// outside a field's range. Enter moves to the next control, as Tab does.
// The spans must be above 0: a typed 0, negative or empty span is refused
// with the reason, and OK refuses spans that are not. A λ that is not in the
// list or lies more than one table step from Lx / Ly is marked beside the
// list with the reason. Esc, Cancel or closing after a change asks before
// the change is thrown away.

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ormavex {
struct SheetRow;
}

namespace ormavex::gui {

class NumberEdit;
class PlatePicture;

class Prompter;

/// The question of the case windows before edits not taken by OK are thrown away.
inline constexpr const char* DiscardEditsQuestion =
    "編集中の計算条件があります。変更を破棄して閉じますか？\n\n"
    "変更を反映するには「OK」で閉じてください。";

/// What the two case windows (this dialog and the case table editor) share:
/// the opener's caption and help file, LoadData at the first showing, OK
/// handing the edits over in SaveData and closing unless the opener cancels,
/// and Esc, Cancel and the close button asking before edits not yet taken by
/// OK are thrown away (closing only on Yes).
class CaseWindow : public QDialog {
    Q_OBJECT
public:
    /// Set by the opener before showing; UsrTag is "OK" after OK, "ｷｬﾝｾﾙ" after Cancel.
    std::string UsrCaption;
    std::string UsrHelpFile;
    std::int32_t UsrHelpContextID = 0;
    std::string UsrTag;

signals:
    void LoadData();
    void SaveData(bool& Cancel);

public slots:
    void reject() override;

protected:
    CaseWindow(std::string settingsFile, Prompter& prompter, QWidget* parent);
    /// The OK, Cancel and Help buttons, wired; Enter presses none of them.
    void buildOkCancelHelp();
    /// Takes the caption and enables help on the first showing; false on later ones.
    bool firstShowing();
    /// Takes what is still being typed before OK; false when it is refused.
    virtual bool takeTyped() = 0;
    /// True when something was changed since LoadData (also still being typed).
    virtual bool edited() = 0;

    std::string m_settingsFile;
    Prompter& m_prompter;
    bool m_loaded = false;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};

class frmInpJyoken : public CaseWindow {
    Q_OBJECT
public:
    /// `settingsFile` keeps the dialog's place; `prompter` shows the range
    /// message and beeps.
    frmInpJyoken(std::string settingsFile, Prompter& prompter, QWidget* parent = nullptr);

    /// Fills the side-ratio list (LoadRamuda's answer).
    void setLambdaItems(const std::vector<std::string>& items);

    /// Shows the values of a sheet row; each field takes what it can, a value
    /// it refuses leaves it as it is.
    void showRow(const SheetRow& row);
    /// Writes the fields into `row`: the title, the checked options (a group
    /// without one keeps the row's value), the spans, Lx/Ly, λ when the list
    /// has a choice, QA and QB.
    void takeRow(SheetRow& row) const;

    /// Selects the item of cboRamuda whose value equals `text` read as a
    /// number (within 0.0005); false, selection unchanged, when none does.
    bool selectLambda(const std::string& text);

signals:
    void LoadRamuda(short& Index);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool takeTyped() override;
    bool edited() override;

public slots:
    void done(int result) override;

private:
    // The steps of the constructor.
    QLayout* buildTitleRow();
    QGroupBox* buildSizeFrame();
    QGroupBox* buildLoadFrame();
    QLayout* buildButtons();
    void connectFields();

    void optType_Click(int index);
    void optKeta_Click(int index);
    void updateRatio(bool propose);
    /// Beeps and names the field's range from `min`, after `before`.
    void reportRange(NumberEdit* field, double min, const QString& before = QString());
    /// A span of 0 or less: the range from the smallest positive value.
    void reportSpan(NumberEdit* field);
    void updateLambdaNote();
    void updatePicture();
    /// Every field's value in one text, to tell whether anything changed.
    QString fieldsText() const;

    QString m_loadedFields;   // fieldsText() once loaded
    bool m_switching = false; // format switch under way: no ratio update

    QLineEdit* m_title = nullptr;
    QButtonGroup* m_type = nullptr;
    QButtonGroup* m_style = nullptr;
    QButtonGroup* m_places = nullptr;
    NumberEdit* m_lx = nullptr;
    NumberEdit* m_ly = nullptr;
    NumberEdit* m_ratio = nullptr;
    QComboBox* m_lambdaList = nullptr;
    QLabel* m_lambdaNote = nullptr;
    /// The row's λ when the list does not hold it (the list then shows its proposal).
    std::string m_unlistedLambda;
    NumberEdit* m_qa = nullptr;
    NumberEdit* m_qb = nullptr;
    PlatePicture* m_picture = nullptr;
};

} // namespace ormavex::gui
