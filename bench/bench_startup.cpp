// Start-up of the application: the main window made, placed from the
// settings file, its recent-file menu loaded (four long entries) and shown,
// as `ormavex` does before the user sees it. Target: under 0.5 s.

#include "core/app/CPrivateProfile.h"
#include "gui/common/AppPaths.h"
#include "gui/common/AppState.h"
#include "gui/common/ApplicationSetUp.h"
#include "gui/common/Prompter.h"
#include "gui/main/frmMenuMain.h"

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class ProgramFolder {
public:
    ProgramFolder() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "ormavex-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::abort();
        }
        m_paths.programFolder = tmpl;
        m_paths.settingsFile = tmpl + "/Kivet.ini";
        m_paths.formatFile = tmpl + "/Kivet.fmt";
        m_paths.userDataFolder = tmpl + "/user";
        using ormavex::CPrivateProfile;
        CPrivateProfile::SetValueString(m_paths.settingsFile, "MenuMain", "Top", "1440");
        CPrivateProfile::SetValueString(m_paths.settingsFile, "MenuMain", "Left", "2880");
        for (int i = 1; i <= 4; ++i) {
            CPrivateProfile::SetValueString(
                m_paths.settingsFile, "FileName", "FileName" + std::to_string(i),
                tmpl + "/projects/港湾第" + std::to_string(i) + "工区/caisson.kvt");
        }
    }
    ~ProgramFolder() { std::filesystem::remove_all(m_paths.programFolder); }
    const ormavex::gui::AppPaths& paths() const { return m_paths; }

private:
    ormavex::gui::AppPaths m_paths;
};

// Time spent in main() before the first window: QApplication and the
// Japanese set-up (translations, fonts).
double g_applicationMs = 0.0;

void StartUp(benchmark::State& st) {
    ProgramFolder folder;
    ormavex::gui::QtPrompter prompter;
    for (auto _ : st) {
        auto state = std::make_unique<ormavex::AppState>();
        state->dataFolder = folder.paths().programFolder;
        ormavex::gui::frmMenuMain window(*state, folder.paths(), prompter);
        window.show();
        QApplication::processEvents();
        if (!window.recentAction(3)->isEnabled()) {
            st.SkipWithError("recent list not loaded");
        }
        benchmark::DoNotOptimize(window.winId());
    }
}

// The first window of the process pays for the fonts and styles; the
// application set-up before it is given as the counter app_ms.
void BM_FirstStartUp(benchmark::State& st) {
    StartUp(st);
    st.counters["app_ms"] = g_applicationMs;
}
BENCHMARK(BM_FirstStartUp)->Unit(benchmark::kMillisecond)->Iterations(1);

// Further windows: the window itself.
void BM_StartUpToMainWindowShown(benchmark::State& st) { StartUp(st); }
BENCHMARK(BM_StartUpToMainWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const auto begin = std::chrono::steady_clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ormavex::gui::SetUpJapaneseUi(app);
    g_applicationMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
