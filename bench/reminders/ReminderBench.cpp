#include "ReminderMix.h"
#include "platform/RegistryStore.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/DueChecker.h"
#include "settings/SettingsStore.h"
#include "support/FixedClock.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Count = 10000;

// One-day reminders on other days, and weekly/monthly/yearly ones whose time lies outside
// the firing window.
void fill(AlarmStore &store)
{
    fillReminders(store, Count, QDate(2026, 1, 1), 700);
}

void CheckRemindersNoneDue(benchmark::State &state)
{
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(7, 30, 30)));
    AlarmStore store;
    fill(store);
    int announced = 0;
    DueChecker checker(store,
                       [&](const QString &, const QString &, const QString &) { ++announced; });
    for (auto _ : state)
        checker.CheckReminders();
    if (announced != 0)
        state.SkipWithError("a reminder fired");
}
BENCHMARK(CheckRemindersNoneDue)->Unit(benchmark::kMicrosecond);

struct Home
{
    Home()
    {
        qputenv("QUILLOMI_HOME", dir.path().toUtf8());
        SettingsStore::useUserFiles();
    }
    ~Home() { RegistryStore::resetGlobal(); }
    QTemporaryDir dir;
};

void SaveAlarms10k(benchmark::State &state)
{
    Home home;
    AlarmStore store;
    fill(store);
    SettingsStore settings;
    for (auto _ : state)
        store.SaveAlarms(settings);
}
BENCHMARK(SaveAlarms10k)->Unit(benchmark::kMillisecond);

void LoadAlarms10k(benchmark::State &state)
{
    Home home;
    {
        AlarmStore store;
        fill(store);
        SettingsStore settings;
        store.SaveAlarms(settings);
    }
    SettingsStore settings;
    AlarmStore store;
    for (auto _ : state)
        store.LoadAlarms(settings);
    if (store.count() != Count)
        state.SkipWithError("not every reminder loaded");
}
BENCHMARK(LoadAlarms10k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
