#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the Qt application, quiet Qt warnings, a scratch folder,
// and property checks that stop the run like a sanitizer report does.
namespace Fuzz {

// Starts a QGuiApplication on the offscreen platform (fonts, SVG) once per process;
// LLVMFuzzerInitialize, defined with it, calls it for every target.
void startApplication();

// A folder of this process, removed at exit; QUILLOMI_HOME points at it, so the program
// folder of AppPaths lies inside.
QString scratchFolder();

// Writes `bytes` to `name` in the program folder and returns the full path.
QString writeProgramFile(const QString &name, const QByteArray &bytes);

QByteArray bytes(const uint8_t *data, size_t size);

// Prints what went wrong and aborts: libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char *property, const QString &detail);

// Takes small numbers off the front of the input for choices that are not text.
class Reader
{
public:
    Reader(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}

    // An integer in [low, high]; low once the input runs out.
    int integer(int low, int high);
    // The rest of the input.
    QByteArray rest();

private:
    const uint8_t *m_data;
    size_t m_size;
};

} // namespace Fuzz

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::Fuzz::fail(#condition, (detail));                                                    \
    } while (false)
