// The worksheet's user actions on the largest worksheet, on the real form
// (offscreen): opening a 1000 x 10 document, one Assets step, one keystroke
// in the Cell box. Each time includes the repaint the action asked for.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "core/worksheet/DocumentFormat.h"
#include "gui/framework/MessageBox.h"
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

struct Host {
    CTavoDoc document;
    std::unique_ptr<CTavoView> view;
};

Host* g_host = nullptr;
QString g_largestPath;

// 1000 shares x 10 periods of distinct texts.
QString WriteLargestDocument(const QTemporaryDir& dir) {
    korvel::WorksheetTable table(1001, 12);
    for (int32_t row = 1; row < 1001; ++row) {
        table.SetTextMatrix(row, 1, "Share " + std::to_string(row));
        for (int32_t col = 2; col < 12; ++col)
            table.SetTextMatrix(row, col, std::to_string(row % 17) + "." + std::to_string(col));
    }
    table.minReturnText = "1.5";
    const std::vector<uint8_t> bytes = korvel::doc::SaveDocument(table);
    const QString path = dir.filePath("largest");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

void FinishRepaint() {
    QCoreApplication::processEvents();
}

void OpenLargest(benchmark::State& state) {
    if (!g_host->document.OpenDocumentFile(g_largestPath) || g_host->view->Grid().GetRows() != 1001)
        state.SkipWithError("the 1000 x 10 document did not open");
    FinishRepaint();
}

void BM_Open1000x10IntoNewWorksheet(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_host->document.FileNew();
        FinishRepaint();
        state.ResumeTiming();
        OpenLargest(state);
    }
}
BENCHMARK(BM_Open1000x10IntoNewWorksheet)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Down then up, one step each, with the focus in the Assets box as a user does it.
void BM_AssetsStepOn1000x10(benchmark::State& state) {
    OpenLargest(state);
    QLineEdit* assets = korvel::test::AssetsBox(*g_host->view);
    assets->setFocus();
    int key = Qt::Key_Down;
    for (auto _ : state) {
        QTest::keyClick(assets, Qt::Key(key));
        FinishRepaint();
        key = key == Qt::Key_Down ? Qt::Key_Up : Qt::Key_Down;
    }
    if (g_host->view->Grid().GetRows() < 1000)
        state.SkipWithError("the Assets steps did not reach the grid");
}
BENCHMARK(BM_AssetsStepOn1000x10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A character typed, then one rubbed out, in a cell in the middle of the worksheet.
void BM_CellKeystrokeOn1000x10(benchmark::State& state) {
    OpenLargest(state);
    CTavoView& view = *g_host->view;
    view.MakeCurrent(500, 6);
    CCellEdit* box = korvel::test::CellBox(view);
    box->setFocus();
    box->end(false);
    bool typeNext = true;
    for (auto _ : state) {
        if (typeNext)
            QTest::keyClick(box, Qt::Key_7);
        else
            QTest::keyClick(box, Qt::Key_Backspace);
        FinishRepaint();
        typeNext = !typeNext;
    }
    if (view.Grid().GetTextMatrix(500, 6).size() > 8)
        state.SkipWithError("the keystrokes did not reach the cell");
}
BENCHMARK(BM_CellKeystrokeOn1000x10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char* argv[]) {
    korvel::test::IsolatedHome home;
    korvel::test::UseOffscreenPlatformByDefault();
    QApplication app(argc, argv);
    if (!korvel::test::RegisterGridControlForTests())
        return 1;
    // Every question (save changes?) is answered No: the benchmarks never save.
    korvel::SetMessageBoxPresenter([](const korvel::MessageBoxRequest&) { return int(korvel::IDNO); });

    QTemporaryDir dir;
    g_largestPath = WriteLargestDocument(dir);
    Host host;
    host.view = std::make_unique<CTavoView>(&host.document);
    if (g_largestPath.isEmpty() || !host.view->Create())
        return 1;
    host.view->resize(1000, 700);
    host.view->show();
    host.document.FileNew();
    g_host = &host;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_host = nullptr;
    return 0;
}
