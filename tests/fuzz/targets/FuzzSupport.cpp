#include "FuzzSupport.h"

#include "base/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

namespace {

// Millions of inputs make millions of "cannot parse" warnings; they only cost time. A fatal
// message (a failed Q_ASSERT in Qt's inline code) is a finding and is shown.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

QTemporaryDir &scratch()
{
    // Files rewritten thousands of times a second: on ext4 each truncation flushes to disk,
    // so memory-backed /dev/shm is preferred where it exists.
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/quillomi-fuzz-XXXXXX"));
    return dir;
}

} // namespace

void startApplication()
{
    // Never destroyed: libFuzzer ends with exit(), and Qt's own statics may go first.
    static QGuiApplication *app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QUILLOMI_HOME", scratchFolder().toUtf8());
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "quillomi-fuzz";
    static char *argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

QString scratchFolder()
{
    if (!scratch().isValid()) {
        std::fprintf(stderr, "cannot create a scratch folder\n");
        std::abort();
    }
    return scratch().path();
}

QString writeProgramFile(const QString &name, const QByteArray &bytes)
{
    const QString folder = AppPaths::programFolder();
    QDir().mkpath(folder);
    const QString path = AppPaths::join(folder, name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("the scratch file can be written", path);
    return path;
}

QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

void fail(const char *property, const QString &detail)
{
    std::fprintf(stderr, "\n==== property failed: %s\n%s\n", property, qUtf8Printable(detail));
    std::fflush(stderr);
    std::abort();
}

int Reader::integer(int low, int high)
{
    const auto span = quint32(qint64(high) - low + 1);
    quint32 value = 0;
    for (quint32 range = span; range > 1 && m_size > 0; range >>= 8) {
        value = (value << 8) | *m_data++;
        --m_size;
    }
    return int(qint64(low) + (span == 0 ? value : value % span));
}

QByteArray Reader::rest()
{
    QByteArray out = bytes(m_data, m_size);
    m_data += m_size;
    m_size = 0;
    return out;
}

} // namespace Fuzz

// Every target starts the same way, before libFuzzer calls it with the first input.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::startApplication();
    return 0;
}
