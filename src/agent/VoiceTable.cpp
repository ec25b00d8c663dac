#include "agent/VoiceTable.h"

#include <QRegularExpression>
#include <array>

using namespace Qt::StringLiterals;

namespace {

struct Voice
{
    QStringView name;
    QStringView modeId;
    QStringView espeak;
};

// Female voices use the female variants, male voices the eight male ones, so each name
// sounds different.
constexpr std::array<Voice, 10> kVoices{{
        {u"Adult Female #1, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273008}", u"en-us+f1"},
        {u"Adult Female #2, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273009}", u"en-us+f2"},
        {u"Adult Male #1, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273000}", u"en-us+m1"},
        {u"Adult Male #2, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273001}", u"en-us+m2"},
        {u"Adult Male #3, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273002}", u"en-us+m3"},
        {u"Adult Male #4, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273003}", u"en-us+m4"},
        {u"Adult Male #5, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273004}", u"en-us+m5"},
        {u"Adult Male #6, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273005}", u"en-us+m6"},
        {u"Adult Male #7, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273006}", u"en-us+m7"},
        {u"Adult Male #8, US English", u"{CA141FD0-AC7F-11D1-97A3-006008273007}", u"en-us+m8"},
}};

QString bare(QStringView id)
{
    QString text = id.trimmed().toString();
    if (text.startsWith(u'{') && text.endsWith(u'}'))
        text = text.mid(1, text.size() - 2);
    return text;
}

} // namespace

QString VoiceTable::modeIdForName(const QString &voiceName)
{
    for (const Voice &voice : kVoices) {
        if (voice.name == voiceName)
            return voice.modeId.toString();
    }
    return {};
}

QString VoiceTable::espeakVoiceFor(const QString &modeId, const QString &fallback)
{
    const QString wanted = bare(modeId);
    for (const Voice &voice : kVoices) {
        if (bare(voice.modeId).compare(wanted, Qt::CaseInsensitive) == 0)
            return voice.espeak.toString();
    }
    // espeak-ng names: a language code with an optional "+variant".
    static const QRegularExpression espeakName(u"^[a-z]{2,3}(-[a-z0-9]{2,8})*(\\+[a-z0-9_-]+)?$"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    if (espeakName.match(modeId.trimmed()).hasMatch())
        return modeId.trimmed();
    return fallback;
}

QStringList VoiceTable::voiceNames()
{
    QStringList names;
    for (const Voice &voice : kVoices)
        names << voice.name.toString();
    return names;
}
