#pragma once

#include "launch/WebTextFetcher.h"

#include <QObject>

class CharacterActions;

// SpeakWebText: the character speaks a text fetched from the web site (or its offline
// stand-in) once it arrives; the event loop never waits for the network.
class WebTextSpeaker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebTextSpeaker)

public:
    static inline const QString GreetingPath = QStringLiteral("/greeting/text.txt");
    static inline const QString JokePath = QStringLiteral("/joke/text.txt");

    explicit WebTextSpeaker(CharacterActions &character, QObject *parent = nullptr);

    WebTextFetcher &fetcher() { return m_fetcher; }
    // Takes the site root from the environment or the named location file.
    void useLocation(const QString &locationName);

    void SpeakWebText(const QString &path);

private:
    CharacterActions &m_character;
    WebTextFetcher m_fetcher;
};
