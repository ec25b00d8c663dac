// Load time per shipped character (target < 50 ms), memory of a decoded character, and the
// time to draw one frame at 1x and 2x.
#include "agent/CharacterFileFormat.h"
#include "agent/CharacterLoader.h"
#include "agent/CharacterRenderer.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace {

const char *const Files[] = {"Wobbo_Mini.acs", "Pico_Fox.acs", "Plum_Block.acs"};

QString path(int index)
{
    return QStringLiteral(QUILLOMI_BUILD_DATA_DIR "/chars/") + QLatin1String(Files[index]);
}

// Heap bytes in use: exact where resident memory moves in whole pages and arenas.
double heapMb()
{
    return double(mallinfo2().uordblks) / (1024 * 1024);
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024)
                             : 0;
}

void loadCharacter(benchmark::State &state)
{
    const QString file = path(int(state.range(0)));
    state.SetLabel(Files[state.range(0)]);
    for (auto _ : state) {
        const CharacterLoadResult r = CharacterLoader::load(file);
        if (!r) {
            state.SkipWithError(qPrintable(r.error));
            break;
        }
        benchmark::DoNotOptimize(r.character.get());
    }
}
BENCHMARK(loadCharacter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Resident memory added by each decoded character, measured over several kept copies.
void characterMemory(benchmark::State &state)
{
    const QString file = path(int(state.range(0)));
    state.SetLabel(Files[state.range(0)]);
    constexpr int Copies = 10;
    double perCharacter = 0, heapPerCharacter = 0;
    // From bytes: loading the file again would hand out the copy already held.
    QFile f(file);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    for (auto _ : state) {
        std::vector<std::shared_ptr<const CharacterData>> kept;
        const double before = residentMb();
        const double heapBefore = heapMb();
        for (int i = 0; i < Copies; ++i) {
            const CharacterLoadResult r = CharacterLoader::loadBytes(bytes);
            kept.push_back(r.character);
            // Draw every part once so the figures include what rendering keeps.
            CharacterRenderer(r.character).render(r.character->restAnimation, 0);
        }
        perCharacter = (residentMb() - before) / Copies;
        heapPerCharacter = (heapMb() - heapBefore) / Copies;
    }
    state.counters["RSS_MB_per_character"] = perCharacter;
    state.counters["heap_MB_per_character"] = heapPerCharacter;
}
BENCHMARK(characterMemory)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

// A file of a few dozen kilobytes announcing hundreds of thousands of empty frames: 1.2
// million are over the unpacked size, 650 000 just under it and over the frame total.
void refuseOversizedFile(benchmark::State &state)
{
    QByteArray json = "{\"name\":\"Big\",\"guid\":\"{01234567-89AB-CDEF-0123-456789ABCDEF}\","
                      "\"width\":128,\"height\":128,\"parts\":[],\"matrices\":[],"
                      "\"animations\":[";
    for (int a = 0; a < state.range(0); ++a) {
        json += (a ? ",{\"name\":\"A" : "{\"name\":\"A") + QByteArray::number(a) +
                "\",\"frames\":[";
        for (int f = 0; f < 4096; ++f)
            json += f ? ",{\"ms\":1,\"layers\":[]}" : "{\"ms\":1,\"layers\":[]}";
        json += "]}";
    }
    json += "]}";
    const QByteArray file = CharacterFileFormat::wrap(json);
    state.SetLabel(QStringLiteral("%1 KB file, %2 MB unpacked")
                           .arg(file.size() / 1024)
                           .arg(json.size() / (1024 * 1024))
                           .toStdString());
    QString error;
    const double heapBefore = heapMb();
    for (auto _ : state) {
        const CharacterLoadResult r = CharacterLoader::loadBytes(file);
        if (r) {
            state.SkipWithError("the file was not refused");
            break;
        }
        error = r.error;
    }
    state.counters["heap_MB_after"] = heapMb() - heapBefore;
    std::fprintf(stderr, "refused: %s\n", qPrintable(error));
}
BENCHMARK(refuseOversizedFile)->Arg(300)->Arg(160)->Unit(benchmark::kMillisecond);

void renderFrame(benchmark::State &state)
{
    const CharacterLoadResult r = CharacterLoader::load(path(0));
    if (!r) {
        state.SkipWithError(qPrintable(r.error));
        return;
    }
    const CharacterRenderer renderer(r.character);
    const CharacterData::Animation *greet = r.character->animation(QStringLiteral("Greet"));
    const qreal ratio = qreal(state.range(0));
    int i = 0;
    for (auto _ : state) {
        const QImage image = renderer.render(greet->frames[i++ % greet->frames.size()],
                                             MouthShape::Medium, 1.0, ratio);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(
            QStringLiteral("Greet frames at device pixel ratio %1").arg(ratio).toStdString());
}
BENCHMARK(renderFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
