// A second process for the store tests: rewrites a section until it is killed, or adds
// values and bumps a shared counter while another process does the same.
#include "StoreWriterProtocol.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"

#include <cstdio>
#include <cstdlib>

namespace {

int rewrite(const QString &file, int count)
{
    RegistryStore registry(file);
    SettingsStore store(&registry);
    for (int round = 0;; ++round) {
        if (!store.replaceSection(StoreWriterProtocol::App, QStringLiteral("Rewrite"),
                                  StoreWriterProtocol::content(count, round))) {
            std::fprintf(stderr, "rewrite failed: %s\n", qPrintable(registry.lastError()));
            return 2;
        }
        if (round == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}

int add(const QString &file, const QString &tag, int count)
{
    RegistryStore registry(file);
    SettingsStore store(&registry);
    const QString section =
            SettingsStore::sectionPath(StoreWriterProtocol::App, QStringLiteral("Shared"));
    for (int i = 0; i < count; ++i) {
        if (!store.save(StoreWriterProtocol::App, QStringLiteral("Shared"),
                        tag + QString::number(i), tag)) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(registry.lastError()));
            return 1;
        }
        // Read, then write, in one transaction: no increment may be lost.
        const bool bumped = registry.transaction([&] {
            const auto old = registry.value(section, QStringLiteral("Counter"));
            return registry.setValue(
                    section, RegValue::number(QStringLiteral("Counter"), old ? old->dword + 1 : 1));
        });
        if (!bumped) {
            std::fprintf(stderr, "counter failed: %s\n", qPrintable(registry.lastError()));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("rewrite"))
        return rewrite(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    if (argc == 5 && QLatin1String(argv[1]) == QLatin1String("add"))
        return add(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                   std::atoi(argv[4]));
    std::fprintf(stderr, "usage: store_writer rewrite FILE COUNT | add FILE TAG COUNT\n");
    return 64;
}
