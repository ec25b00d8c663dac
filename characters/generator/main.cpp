// Builds a character file from its sources: quillomi-chargen ANIMATIONS.json CHARDIR OUTDIR
#include "AnimationScript.h"
#include "CharacterSource.h"
#include "agent/CharacterFileFormat.h"
#include "agent/CharacterLoader.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: quillomi-chargen ANIMATIONS.json CHARDIR OUTDIR\n");
        return 2;
    }
    QString error;
    QFile scriptFile(args[1]);
    if (!scriptFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    AnimationScript script;
    std::unique_ptr<CharacterSource> source;
    if (!script.parse(scriptFile.readAll(), &error) ||
        !(source = CharacterSource::load(args[2], &error)) || !script.build(*source, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QByteArray bytes = CharacterFileFormat::write(*source->character);
    // Read it back: a file the program cannot load must fail the build, not the user.
    const CharacterLoadResult check = CharacterLoader::loadBytes(bytes);
    if (!check) {
        std::fprintf(stderr, "the written file does not load: %s\n", qPrintable(check.error));
        return 1;
    }
    QDir().mkpath(args[3]);
    QSaveFile out(QDir(args[3]).filePath(source->outputFile));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
        return 1;
    }
    return 0;
}
