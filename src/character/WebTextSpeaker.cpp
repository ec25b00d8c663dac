#include "character/WebTextSpeaker.h"

#include "character/CharacterActions.h"
#include "launch/LocationFile.h"

WebTextSpeaker::WebTextSpeaker(CharacterActions &character, QObject *parent)
    : QObject(parent)
    , m_character(character)
{
    connect(&m_fetcher, &WebTextFetcher::textReady, this,
            [this](const QString &, const QString &text, bool) { m_character.speakText(text); });
}

void WebTextSpeaker::SpeakWebText(const QString &path)
{
    m_fetcher.fetch(path);
}

void WebTextSpeaker::useLocation(const QString &locationName)
{
    m_fetcher.setSiteRoot(WebTextFetcher::configuredSiteRoot(LocationFile::path(locationName)));
}
