// Start-up to the main window's first paint: the grid module's registration,
// the settings store, the document, frame and view, and the window shown and
// painted, in-process on the current platform (offscreen unless
// QT_QPA_PLATFORM says otherwise).
#include "support/GridTestSupport.h"

#include "gui/app/GridModule.h"
#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString BinDir() {
    return QFileInfo(korvel::test::GridControlModulePath()).absolutePath();
}

// Notices the first paint of any widget in the main window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    ~FirstPaint() override { qApp->removeEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == m_window)
            painted = true;
        return false;
    }

private:
    QWidget* m_window;
};

bool StartAndPaint(CTavoApp& app, const QStringList& arguments) {
    app.SetExecutableDir(BinDir());
    if (!app.InitInstance(arguments))
        return false;
    FirstPaint paint(app.MainFrame());
    QElapsedTimer limit;
    limit.start();
    while (!paint.painted && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return paint.painted;
}

void RunStartups(benchmark::State& state, const QStringList& arguments) {
    for (auto _ : state) {
        auto app = std::make_unique<CTavoApp>();
        if (!StartAndPaint(*app, arguments)) {
            state.SkipWithError("start-up failed");
            break;
        }
        state.PauseTiming();
        app.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The first start-up of the process: fonts, styles and the module loaded for the first time.
void BM_FirstStartupToPaint(benchmark::State& state) {
    RunStartups(state, {});
}
BENCHMARK(BM_FirstStartupToPaint)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StartupToPaint(benchmark::State& state) {
    RunStartups(state, {});
}
BENCHMARK(BM_StartupToPaint)->Unit(benchmark::kMillisecond);

// A worksheet of 1000 shares by 10 periods named on the command line.
void BM_StartupWithLargestDocument(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("largest"));
    QByteArray bytes = QByteArray::fromHex("E90300000C00000001"
                                           "31");
    for (int row = 1; row <= 1000; ++row) {
        const QByteArray name = "Share " + QByteArray::number(row);
        bytes.append(char(name.size())).append(name);
        for (int period = 1; period <= 10; ++period) {
            const QByteArray value = QByteArray::number(row % 7) + "." + QByteArray::number(period);
            bytes.append(char(value.size())).append(value);
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the document");
        return;
    }
    file.close();
    RunStartups(state, {path});
}
BENCHMARK(BM_StartupWithLargestDocument)->Unit(benchmark::kMillisecond);

// The module check alone: find, load, register, unload.
void BM_GridModuleRegistration(benchmark::State& state) {
    const korvel::GridModuleSearch search{BinDir().toStdString(), korvel::SystemDirectory(), true};
    for (auto _ : state) {
        if (korvel::RegisterGridModule(search) != korvel::GridRegistration::Registered) {
            state.SkipWithError("module not registered");
            break;
        }
    }
}
BENCHMARK(BM_GridModuleRegistration)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
    korvel::test::IsolatedHome home;
    korvel::test::UseOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
