// The case table editor opened from the main window ("計算条件の入力"): the
// hand-over of the case table both ways, and a project file through the windows.
#include "../ModalDriver.h"
#include "CasesTestSupport.h"

#include "core/app/CPrivateProfile.h"
#include "core/project/basIO.h"
#include "gui/common/AppState.h"
#include "gui/main/frmMenuMain.h"

#include <QPushButton>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

using namespace ormavex;
using namespace ormavex::test;
using gui::frmInpJyokenSS;

namespace {

std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
}

class CaseEditorHandOverTest : public ::testing::Test {
protected:
    CaseEditorHandOverTest() {
        paths.programFolder = dir.path();
        paths.settingsFile = dir.file("Kivet.ini");
        paths.formatFile = dir.file("Kivet.fmt");
        paths.userDataFolder = dir.file("user");
        state.dataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";
        state.report.lists.folder = dir.path(); // print files stay in the test's folder
        std::filesystem::copy_file(kSample, project());
        window = std::make_unique<gui::frmMenuMain>(state, paths, prompter);
    }

    std::string project() const { return dir.file("caisson-A.kvt"); }

    /// Presses "計算条件の入力" and lets `drive` work in the editor the main
    /// window shows modally; `drive` ends it with OK or Cancel.
    void withEditor(const std::function<void(frmInpJyokenSS&)>& drive) {
        bool driven = false;
        OnNextModal(window.get(), [&](QWidget* modal) {
            auto* editor = qobject_cast<frmInpJyokenSS*>(modal);
            ASSERT_NE(editor, nullptr) << "no case table editor";
            driven = true;
            drive(*editor);
            EXPECT_FALSE(editor->isVisible()) << "the editor is still open";
        });
        window->findChild<QPushButton*>("cmdMenu0")->click();
        EXPECT_TRUE(driven);
    }

    static void press(frmInpJyokenSS& editor, const char* button) {
        editor.findChild<QPushButton*>(button)->click();
    }

    const std::string kSample = std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt";
    TempDir dir;
    gui::AppPaths paths;
    AppState state;
    FakePrompter prompter;
    std::unique_ptr<gui::frmMenuMain> window;
};

} // namespace

TEST_F(CaseEditorHandOverTest, ChangedSpanIsSavedAndNothingElseDiffers) {
    ASSERT_TRUE(window->openProject(project()));
    withEditor([](frmInpJyokenSS& editor) {
        EXPECT_EQ(editor.MaxRows(), 6);
        EXPECT_EQ(editor.UsrRecMax, 99);
        EXPECT_EQ(editor.statusText(2), "※ 同時に計算可能な最大検討ｹｰｽ数：99");
        TypeIntoCell(editor, SheetCol::Lx, 2, "3.85");
        press(editor, "cmdOk");
    });
    EXPECT_TRUE(window->EditedFlag());
    Action(*window, "mnuFileSave")->trigger();

    CaseTable back;
    Error error;
    ASSERT_TRUE(ReadInputFile(back, project(), error));
    EXPECT_DOUBLE_EQ(back.cell(2, CaseCol::Lx).toNumber(), 3.85);
    // Line by line only the span and the ratio the editor computed from it differ.
    const auto before = CrLfLines(ReadBytes(kSample));
    const auto after = CrLfLines(ReadBytes(project()));
    ASSERT_EQ(before.size(), after.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changed.push_back(before[i] + " -> " + after[i]);
        }
    }
    EXPECT_EQ(changed,
              (std::vector<std::string>{"3.8 -> 3.85", "0.826086956521739 -> 0.83695652173913"}));
}

TEST_F(CaseEditorHandOverTest, OkHandsTheSheetBackAndCancelLeavesTheCases) {
    ASSERT_TRUE(window->openProject(project()));
    const CaseTable original = state.cases;

    // Cancel: whatever was done in the editor, the cases and the flag stay. With
    // edits, it asks first: No keeps the window, Yes closes it.
    withEditor([this](frmInpJyokenSS& editor) {
        TypeIntoCell(editor, SheetCol::Title, 1, "Changed");
        Action(editor, "mnuDelete")->trigger();
        Action(editor, "mnuAdd")->trigger();
        prompter.clear();
        prompter.answers = {gui::Prompter::Answer::No, gui::Prompter::Answer::Yes};
        press(editor, "cmdCancel");
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.UsrTag, "");
        press(editor, "cmdCancel");
        ASSERT_EQ(prompter.shown.size(), 2u);
        EXPECT_EQ(prompter.shown[0].buttons, gui::Prompter::Buttons::YesNo);
        EXPECT_NE(prompter.shown[0].text.find("変更を破棄して閉じますか"), std::string::npos);
        EXPECT_EQ(editor.UsrTag, "ｷｬﾝｾﾙ");
    });
    EXPECT_FALSE(window->EditedFlag());
    EXPECT_EQ(state.cases.CaseCount, 6);
    for (int r = 1; r <= MaxCases; ++r) {
        for (int c = 1; c <= CaseColumns; ++c) {
            ASSERT_EQ(state.cases.cell(r, c), original.cell(r, c)) << r << "," << c;
        }
    }
    // The editor kept its place and size, in twips.
    EXPECT_GT(CPrivateProfile::GetValueLong(paths.settingsFile, "InpJyokenSS", "Width"), 0);

    // OK with an empty sheet: no cases, and the input counts as edited.
    withEditor([](frmInpJyokenSS& editor) {
        while (editor.MaxRows() > 0) {
            Action(editor, "mnuDelete")->trigger();
        }
        Action(editor, "mnuDelete")->trigger(); // no row left: nothing happens
        press(editor, "cmdOk");
        EXPECT_EQ(editor.UsrTag, "OK");
    });
    EXPECT_EQ(state.cases.CaseCount, 0);
    EXPECT_TRUE(window->EditedFlag());
}
