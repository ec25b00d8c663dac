// Rewriting and reading back a section of 10,000 values, the heaviest thing the program asks
// of its settings store (a very long reminder list). Target: each under 100 ms.
#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kValues = 10'000;
const QString kApp = QStringLiteral("::: Bench :::\\1");
const QString kSection = QStringLiteral("Alarm");

SettingsStore::Entries entries(int round)
{
    SettingsStore::Entries list;
    list.reserve(kValues);
    for (int i = 0; i < kValues; ++i)
        list.append({QString::number(i + 1),
                     QStringLiteral("2026-12-%1|09:%2:00|Subject %3|A message of round %4, "
                                    "with some text|1|0|0|0|0|0|0|0|0|0|0|0")
                             .arg(1 + i % 28)
                             .arg(i % 60, 2, 10, QLatin1Char('0'))
                             .arg(i)
                             .arg(round)});
    return list;
}

void ReplaceSection(benchmark::State &state)
{
    QTemporaryDir dir;
    RegistryStore registry(dir.filePath(QStringLiteral("bench.db")));
    SettingsStore store(&registry);
    const SettingsStore::Entries lists[2] = {entries(0), entries(1)};
    int round = 0;
    for (auto _ : state) {
        if (!store.replaceSection(kApp, kSection, lists[round++ % 2]))
            state.SkipWithError("replaceSection failed");
    }
    state.SetItemsProcessed(state.iterations() * kValues);
}

void ReadSection(benchmark::State &state)
{
    QTemporaryDir dir;
    RegistryStore registry(dir.filePath(QStringLiteral("bench.db")));
    SettingsStore store(&registry);
    store.replaceSection(kApp, kSection, entries(0));
    for (auto _ : state) {
        const SettingsStore::Entries all = store.all(kApp, kSection);
        if (all.size() != kValues)
            state.SkipWithError("wrong number of values");
        benchmark::DoNotOptimize(all);
    }
    state.SetItemsProcessed(state.iterations() * kValues);
}

BENCHMARK(ReplaceSection)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadSection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
