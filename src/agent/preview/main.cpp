// quillomi-preview: opens a character file, plays an animation (or all of them), speaks a
// line; --strip renders the frames of one animation side by side into a PNG.
#include "agent/AgentCharacter.h"
#include "agent/CharacterRenderer.h"
#include "agent/CharacterRuntime.h"
#include "agent/Characters.h"
#include "agent/preview/PreviewWindow.h"
#include "base/AppPaths.h"
#include "platform/RegistryStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <cstdio>

namespace {

// Every frame of an animation, left to right, at the given scale.
bool writeStrip(const std::shared_ptr<const CharacterData> &data, const QString &name,
                const QString &out, qreal scale)
{
    const CharacterData::Animation *animation = data->animation(name);
    if (!animation || animation->frames.isEmpty())
        return false;
    const CharacterRenderer renderer(data);
    const QSize cell = renderer.pixelSize(scale, 1.0);
    QImage strip(cell.width() * int(animation->frames.size()), cell.height(),
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(QColor(236, 239, 244));
    QPainter painter(&strip);
    for (int i = 0; i < animation->frames.size(); ++i)
        painter.drawImage(QPoint(i * cell.width(), 0),
                          renderer.render(animation->frames.at(i), std::nullopt, scale, 1.0));
    painter.end();
    return strip.save(out);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillomi-preview"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows a character file on the desktop."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Character file (.acs)"));
    const QCommandLineOption play(QStringLiteral("play"), QStringLiteral("Play an animation."),
                                  QStringLiteral("name"));
    const QCommandLineOption all(QStringLiteral("all"), QStringLiteral("Play every animation."));
    const QCommandLineOption say(QStringLiteral("say"), QStringLiteral("Speak a line."),
                                 QStringLiteral("text"));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  QStringLiteral("Hide and quit when the requests are done."));
    const QCommandLineOption strip(QStringLiteral("strip"),
                                   QStringLiteral("Render the frames of --play into a PNG."),
                                   QStringLiteral("png"));
    parser.addOptions({play, all, say, quit, strip});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);
    const QString file = parser.positionalArguments().first();

    // The user's speech settings, as the program uses them.
    RegistryStore::setGlobalFile(AppPaths::settingsFile());
    Characters characters;
    const QString id = QStringLiteral("Agent0");
    if (!characters.Load(id, file)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(characters.lastError()));
        return 1;
    }
    AgentCharacter *character = characters(id);
    if (parser.isSet(strip)) {
        const QString name =
                parser.isSet(play) ? parser.value(play) : character->data()->restAnimation;
        if (!writeStrip(character->data(), name, parser.value(strip), 1.0)) {
            std::fprintf(stderr, "no animation \"%s\"\n", qPrintable(name));
            return 1;
        }
        return 0;
    }

    PreviewWindow window(characters, *character);
    character->Show();
    if (parser.isSet(play))
        character->Play(parser.value(play));
    if (parser.isSet(all))
        window.playAll();
    if (parser.isSet(say))
        character->Speak(parser.value(say));
    if (parser.isSet(quit)) {
        character->Hide();
        QObject::connect(&characters, &Characters::Hide, &app, &QApplication::quit);
    } else {
        window.show();
        QObject::connect(&characters, &Characters::Hide, &app, &QApplication::quit);
    }
    return app.exec();
}
