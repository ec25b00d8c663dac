// Opening the settings store as the program starts: the full check of the file, and the
// daily good copy, which must not hold the start up. Targets, as ratios of Open on the same
// store: OpenAndStartCopy under 1.2 (the copy runs on a thread of its own); the copy itself,
// CopyToTheEnd, whatever it takes, as nobody waits for it.
#include "platform/RegistryStore.h"
#include "support/FixedClock.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QString kApp = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1");

// A store with `values` reminders, as a long-used one holds.
QString filledStore(const QTemporaryDir &dir, int values)
{
    const QString file = dir.filePath(QStringLiteral("registry.db"));
    RegistryStore store(file);
    QList<RegValue> list;
    for (int i = 0; i < values; ++i)
        list << RegValue::string(QString::number(i + 1),
                                 QStringLiteral("12/%1/2026|9:00:00 AM|Subject %2|A message with "
                                                "some text to it|0|")
                                         .arg(1 + i % 28)
                                         .arg(i));
    store.replaceValues(kApp + QStringLiteral("\\Alarm"), list);
    return file;
}

void Open(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = filledStore(dir, int(state.range(0)));
    for (auto _ : state) {
        RegistryStore store(file);
        if (!store.openProblem().isEmpty())
            state.SkipWithError("the store did not open cleanly");
    }
}

// Every round is another day, so every round takes a copy; the store's end (which waits for
// the copy) is left out of the time.
void OpenAndStartCopy(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = filledStore(dir, int(state.range(0)));
    FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    for (auto _ : state) {
        auto store = std::make_unique<RegistryStore>(file);
        store->takeDailyCopy();
        state.PauseTiming();
        store.reset();
        clock.advanceDays(1);
        state.ResumeTiming();
    }
}

void CopyToTheEnd(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = filledStore(dir, int(state.range(0)));
    FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    for (auto _ : state) {
        RegistryStore store(file);
        store.takeDailyCopy();
        store.waitForCopy();
        clock.advanceDays(1);
    }
}

BENCHMARK(Open)->Arg(2'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndStartCopy)->Arg(2'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyToTheEnd)->Arg(2'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
