// The window with a 100-megapixel picture: opening it until the window has
// painted and takes keys, and Save Image As of it, beside `cp` of the same
// file in the same run. The picture is $PIXQUILL_BENCH_PICTURE, or the
// benchmark corpus's noise-100mp.bmp in /tmp/corpus (made by the corpus script).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLocale>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MainWindow.h"
#include "ShellServices.h"
#include "TestFolder.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "platform/ComponentCipher.h"
#include "platform/ManualTimerFactory.h"
#include "platform/PosixFileStore.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/ScriptedModalWindows.h"

namespace {

std::string picturePath() {
    const char* given = std::getenv("PIXQUILL_BENCH_PICTURE");
    return given != nullptr ? given : "/tmp/corpus/noise-100mp.bmp";
}

// The window as the program makes it, with dialogs that answer from a script.
struct Bench {
    stego::platform::ScriptedFileDialogs fileDialogs;
    stego::platform::ScriptedMessageBoxes messageBoxes;
    stego::platform::ScriptedModalWindows modalWindows;
    stego::platform::ManualTimerFactory timers;
    stego::platform::LcgGenerator generator;
    stego::platform::PosixFileStore files;
    stego::EngineServices engine{generator, stego::platform::makeComponentCipherFactory(), files, ","};
    stego::shell::ShellServices services{fileDialogs, messageBoxes, modalWindows, timers, engine, [] {}};
    stego::shell::MainWindow window{services};

    Bench() {
        window.show();
        QApplication::processEvents();
    }
    // Until everything the picture changed is on screen and the window is idle.
    void settle() {
        window.repaint();
        QApplication::processEvents();
    }
};

void BM_CopyPictureFile(benchmark::State& state) {
    const testsupport::TestFolder folder;
    const std::string command = "cp '" + picturePath() + "' '" + folder / "copy.bmp" + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp failed");
}
BENCHMARK(BM_CopyPictureFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument 0: at actual size, as a picture first opens; 1: fitted to the window.
void BM_WindowOpensPicture(benchmark::State& state) {
    Bench bench;
    if (state.range(0) == 1)
        bench.window.fitToWindow();
    const QString path = QString::fromStdString(picturePath());
    for (auto _ : state) {
        if (!bench.window.openPicture(path)) {
            state.SkipWithError("the picture did not open");
            break;
        }
        bench.settle();
    }
}
BENCHMARK(BM_WindowOpensPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowSavesPictureAs(benchmark::State& state) {
    const testsupport::TestFolder folder;
    Bench bench;
    if (!bench.window.openPicture(QString::fromStdString(picturePath()))) {
        state.SkipWithError("the picture did not open");
        return;
    }
    auto* saveAs = bench.window.findChild<QAction*>(QStringLiteral("flesveas"));
    const std::string saved = folder / "saved.bmp";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(saved);
        bench.fileDialogs.answer(QString::fromStdString(saved));
        state.ResumeTiming();
        saveAs->trigger();
        bench.settle();
    }
    if (!std::filesystem::exists(saved))
        state.SkipWithError("nothing was saved");
}
BENCHMARK(BM_WindowSavesPictureAs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
