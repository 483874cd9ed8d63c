#pragma once
// The heading numbering dialog ("連番条件設定"): the numbering method, the
// numbering style of the four heading levels and their left margins, on
// three tabs, with samples of the method and the margins. The opener answers
// LoadData (fill the controls) and SaveData (store them); the dialog keeps
// only its own position (section "InpRenban").

#include "core/report/ChapterSettings.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLayout;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ormavex::gui {

class Prompter;
class RangeSpinBox;

class frmInpRenban : public QDialog {
    Q_OBJECT
public:
    static constexpr int Levels = 4;
    static constexpr int Methods = 4;

    frmInpRenban(std::string settingsFile, Prompter& prompter, QWidget* parent = nullptr);
    ~frmInpRenban() override;

    /// Set by the opener before load().
    std::string UsrCaption;
    std::string UsrHelpFile;
    std::int32_t UsrHelpContextID = 0;

    /// Shows the numbering values; a style outside the list leaves its level
    /// without a choice, a method outside 0 to 3 leaves none chosen.
    void showSettings(const ChapterSettings& settings);
    /// The values as the dialog holds them: no method chosen is -1, a level
    /// without a style 0.
    ChapterSettings settings() const;

    /// Loading: caption, position, help button, LoadData, samples, first tab.
    /// Runs once; showing the dialog runs it when the opener has not.
    void load();
    /// OK: checks the ranges, raises SaveData and closes unless cancelled.
    void cmdOk_Click();

signals:
    void LoadData();
    void SaveData(bool* Cancel);

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    /// The chosen method, -1 when none is chosen.
    int selectedMethod() const;
    /// Chooses a method; a value outside 0 to 3 leaves none chosen.
    void setMethod(int method);

    // The steps of the constructor.
    void buildTabs();
    void buildMethodTab();
    void buildStyleTab();
    void buildMarginTab();
    QLayout* buildButtons();

    void updateMethodSample();
    void updateMarginSample();
    void selectTab(int index);
    void reportOutOfRange(RangeSpinBox* box);

    std::string m_settingsFile;
    Prompter& m_prompter;
    bool m_loaded = false;
    bool m_reporting = false;
    QTabWidget* m_tabs = nullptr;
    std::array<QGroupBox*, 3> m_frames{};
    QButtonGroup* m_methodGroup = nullptr;
    std::array<QRadioButton*, Methods> m_optMethod{};
    RangeSpinBox* m_numInit = nullptr;
    std::array<QComboBox*, Levels> m_cboStyle{};
    std::array<RangeSpinBox*, Levels> m_numMargin{};
    QPlainTextEdit* m_txtMethod = nullptr;
    QPlainTextEdit* m_txtMargin = nullptr;
    QPushButton* m_cmdHelp = nullptr;
};

} // namespace ormavex::gui
