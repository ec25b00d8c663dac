#include "agent/AgentSettings.h"

#include "platform/RegistryStore.h"

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kSpeech = u"SpeechOutput"_s;
const QString kSpeed = u"SpeakingSpeed"_s;
const QString kFont = u"UseCharacterFont"_s;
const QString kDefault = u"DefaultCharacter"_s;

std::optional<quint32> number(RegistryStore &store, const QString &name)
{
    const std::optional<RegValue> value =
            store.value(QString::fromLatin1(AgentSettings::Key), name);
    if (!value)
        return std::nullopt;
    if (value->type == RegValue::Type::Dword)
        return value->dword;
    bool ok = false;
    const uint parsed = value->text.trimmed().toUInt(&ok);
    return ok ? std::optional<quint32>(parsed) : std::nullopt;
}

} // namespace

AgentSettings AgentSettings::load(RegistryStore &store)
{
    AgentSettings settings;
    if (const auto speech = number(store, kSpeech); speech && *speech <= 1)
        settings.speechOutput = *speech == 1;
    if (const auto speed = number(store, kSpeed); speed && *speed >= MinSpeed && *speed <= MaxSpeed)
        settings.speakingSpeed = int(*speed);
    if (const auto font = number(store, kFont); font && *font <= 1)
        settings.useCharacterFont = *font == 1;
    if (const auto name = store.value(QString::fromLatin1(Key), kDefault);
        name && name->type == RegValue::Type::String)
        settings.defaultCharacter = name->text;
    return settings;
}

bool AgentSettings::save(RegistryStore &store) const
{
    const QString key = QString::fromLatin1(Key);
    return store.transaction([&] {
        return store.createKey(key) &&
               store.setValue(key, RegValue::number(kSpeech, speechOutput ? 1 : 0)) &&
               store.setValue(key, RegValue::number(kSpeed, quint32(speakingSpeed))) &&
               store.setValue(key, RegValue::number(kFont, useCharacterFont ? 1 : 0)) &&
               store.setValue(key, RegValue::string(kDefault, defaultCharacter));
    });
}

int AgentSettings::wordsPerMinute(int voiceRate, int speakingSpeed)
{
    static constexpr std::array<int, 7> percent{60, 75, 88, 100, 115, 132, 150};
    const int level = std::clamp(speakingSpeed, MinSpeed, MaxSpeed);
    return std::clamp(voiceRate * percent[size_t(level - 1)] / 100, 80, 450);
}
