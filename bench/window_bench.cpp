// The windows' own code paths with the largest document: creating and showing
// the nine windows, Open KEY and Save KEY of 50 nodes of 1000 entries through
// the main window, a tab change between two full nodes, a preview redraw of
// 1000 entries at 1280 x 1024, Open KEY of a Frame of 50 million digits, and the level chooser
// of a million levels. Each measured step
// ends once the event loop has painted what changed, as the user would see it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "ui/AppWindows.h"
#include "ScriptedPrompts.h"
#include "fulldocument.h"
#include "core/keyfile.h"

namespace {

using namespace skyvane;

constexpr int kPictureWidth = 1280;
constexpr int kPictureHeight = 1024;
// The preview's left panel and the bevel around its picture.
constexpr int kPreviewPanelWidth = 200;
constexpr int kPreviewBevel = 2;

std::string benchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

const std::string& fullKeyFile() {
    static const std::string path = [] {
        const std::string file = benchPath("skyvane_window_bench.KEY");
        saveKeyFile(file, bench::fullDocument(), "d", "t");
        return file;
    }();
    return path;
}

// Lets the windows work off what the last step queued, painting included.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The nine windows with the full document open, shown as at start-up.
struct OpenWindows {
    test::ScriptedPrompts prompts;
    AppWindows windows;
    bool shown = false;

    OpenWindows() {
        windows.show();
        shown = QTest::qWaitForWindowExposed(&windows.mainWindow);
        open();
    }

    void open() {
        prompts.answers.push_back(MessageAnswer::No); // keep nothing of the last document
        prompts.files.push_back(QString::fromStdString(fullKeyFile()));
        windows.mainWindow.OpenClick();
        settle();
    }
};

void BM_startUp(benchmark::State& state) {
    for (auto _ : state) {
        AppWindows windows;
        windows.show();
        if (!QTest::qWaitForWindowExposed(&windows.mainWindow) ||
            !QTest::qWaitForWindowExposed(&windows.previewWindow))
            state.SkipWithError("windows not shown");
        settle();
    }
}
BENCHMARK(BM_startUp)->Unit(benchmark::kMillisecond);

void BM_openKey(benchmark::State& state) {
    OpenWindows open;
    if (!open.shown)
        state.SkipWithError("the main window was not shown");
    for (auto _ : state)
        open.open();
    if (open.windows.mainWindow.document().Nodes.size() != static_cast<std::size_t>(kMaxNodes))
        state.SkipWithError("the file was not read");
}
BENCHMARK(BM_openKey)->Unit(benchmark::kMillisecond);

void BM_saveKey(benchmark::State& state) {
    OpenWindows open;
    if (!open.shown)
        state.SkipWithError("the main window was not shown");
    const QString target = QString::fromStdString(benchPath("skyvane_window_bench_saved.KEY"));
    for (auto _ : state) {
        open.prompts.files.push_back(target);
        open.windows.mainWindow.SaveAs1Click();
        settle();
    }
    if (!std::filesystem::exists(target.toStdString()))
        state.SkipWithError("nothing was saved");
    std::filesystem::remove(target.toStdString());
}
BENCHMARK(BM_saveKey)->Unit(benchmark::kMillisecond);

void BM_tabChange(benchmark::State& state) {
    OpenWindows open;
    if (!open.shown)
        state.SkipWithError("the main window was not shown");
    QTabBar* tabs = open.windows.mainWindow.NodeTabs;
    int next = 1;
    for (auto _ : state) {
        tabs->setCurrentIndex(next);
        settle();
        next = 1 - next;
    }
    if (open.windows.mainWindow.currentNode() != 1 - next)
        state.SkipWithError("the tab change was refused");
}
BENCHMARK(BM_tabChange)->Unit(benchmark::kMillisecond);

// Open KEY of a file whose one Frame holds 50 million digits, until the grid has painted it.
void BM_openHugeFrame(benchmark::State& state) {
    const std::string file = benchPath("skyvane_window_bench_huge.KEY");
    {
        std::ofstream out(file, std::ios::binary);
        out << "SECTION: HEADER\r\nFPS 15\r\nJOINTS 1\r\nSECTION: KEYFRAME NODES\r\nNODE 0\r\n"
               "MESH NAME m\r\nENTRIES 1\r\n 0: "
            << std::string(50'000'000, '7') << " 0 0 0 0 0 0 0\r\n";
    }
    test::ScriptedPrompts prompts;
    AppWindows windows;
    windows.show();
    if (!QTest::qWaitForWindowExposed(&windows.mainWindow))
        state.SkipWithError("the main window was not shown");
    for (auto _ : state) {
        prompts.answers.push_back(MessageAnswer::No);
        prompts.files.push_back(QString::fromStdString(file));
        windows.mainWindow.OpenClick();
        windows.mainWindow.repaint();
        settle();
    }
    if (windows.mainWindow.document().Nodes.size() != 1)
        state.SkipWithError("the file was not read");
    std::filesystem::remove(file);
}
BENCHMARK(BM_openHugeFrame)->Unit(benchmark::kMillisecond);

// A pan to the side and back, each key drawing the whole picture again.
void BM_previewRedraw(benchmark::State& state) {
    OpenWindows open;
    if (!open.shown)
        state.SkipWithError("the main window was not shown");
    TPreviewWindow& preview = open.windows.previewWindow;
    preview.resize(kPreviewPanelWidth + kPictureWidth + kPreviewBevel,
                   kPictureHeight + kPreviewBevel);
    QApplication::setActiveWindow(&preview); // activation takes the entry count
    settle();
    // Keys reach the preview through its platform window, whichever control has
    // the focus.
    QWindow* window = preview.windowHandle();
    const auto* cameraX = preview.findChild<QLineEdit*>(QStringLiteral("EDX"));
    const QString startX = cameraX->text();
    QTest::keyClick(window, Qt::Key_Left);
    settle();
    if (cameraX->text() == startX)
        state.SkipWithError("the keys do not move the camera");
    bool left = false;
    for (auto _ : state) {
        QTest::keyClick(window, left ? Qt::Key_Left : Qt::Key_Right);
        settle();
        left = !left;
    }
}
BENCHMARK(BM_previewRedraw)->Unit(benchmark::kMillisecond);

// The level chooser of an archive of a million levels, until it is shown (and closed at once).
void BM_levelChooserOfAMillion(benchmark::State& state) {
    QStringList levels;
    for (int i = 0; i < 1'000'000; ++i)
        levels << QStringLiteral("jkl\\level%1.jkl").arg(i);
    for (auto _ : state) {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        prompts().chooseItem(nullptr, QStringLiteral("Load Level"), QStringLiteral("Levels:"),
                             levels);
    }
}
BENCHMARK(BM_levelChooserOfAMillion)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The recent files that opening and saving record stay out of the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(fullKeyFile());
    return 0;
}
