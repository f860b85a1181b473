// Showing a field of the largest size a field may hold (16 MiB) that is one
// unbroken word: as the current record's text in the main window, as a
// memo in the memo editor, and quoted whole to a message box. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "mainwindow/memo_edit.h"
#include "mainwindow/navigation.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/qt_ui.h"
#include "store/data_file.h"
#include "store/record.h"
#include "widgets/message_box.h"

namespace {

// A protocol of three records; the second holds the long word in `field`.
std::string WriteProtocol(std::string core::ProtocolRecord::*field) {
    core::RecordSet records(4);
    for (int k = 1; k <= 3; ++k) {
        records[k].V0 = static_cast<int16_t>(k);
        records[k].V1 = std::to_string(k);
        records[k].V8 = "text " + std::to_string(k);
    }
    records[2].*field = std::string(core::kMaxFieldBytes, 'w');
    const std::string name = (std::filesystem::temp_directory_path() /
                              ("kova_text_bench_" + std::to_string(::getpid()) + ".kov"))
                                 .string();
    core::KovaState s;
    bench::SilentUi ui;
    core::SaveDataFile(s, ui, name, records, 3, 9, "long word");
    return name;
}

struct MainWindow {
    core::KovaState s;
    QtUi ui{s};
    kova w{s, ui};
    std::string file;

    explicit MainWindow(std::string core::ProtocolRecord::*field) : file(WriteProtocol(field)) {
        w.showSplash = false;
        w.show();
        w.Form_Load(file);
    }
    ~MainWindow() { std::filesystem::remove(file); }
    void Show(int record) {
        core::ScrollbarChange(s, ui, record);
        QApplication::processEvents();
        w.repaint();
    }
};

// The record whose text is the word becomes the current one and is drawn.
void BM_ShowRecordWithLongText(benchmark::State& state) {
    MainWindow main(&core::ProtocolRecord::V8);
    for (auto _ : state) {
        main.Show(2);
        state.PauseTiming();
        main.Show(1);
        state.ResumeTiming();
    }
}

// The memo editor opens on the record whose memo is the word.
void BM_ShowLongMemo(benchmark::State& state) {
    MainWindow main(&core::ProtocolRecord::Memo);
    main.Show(2);
    Memo& memo = main.w.MemoWindow();
    for (auto _ : state) {
        memo.Open(core::MemoTargetForCurrent(main.s));
        memo.ShowModeless();
        memo.repaint();
        state.PauseTiming();
        memo.hide();
        state.ResumeTiming();
    }
}

// A message box handed a whole field of that word, shown and drawn.
void BM_ShowMessageOfLongWord(benchmark::State& state) {
    const std::string word(core::kMaxFieldBytes, 'w');
    for (auto _ : state) {
        QMessageBox box(QMessageBox::Critical, "Error", "");
        SetMessageText(box, word);
        box.show();
        box.repaint();
        state.PauseTiming();
        box.hide();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ShowRecordWithLongText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowLongMemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowMessageOfLongWord)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
