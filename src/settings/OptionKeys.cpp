#include "settings/OptionKeys.h"

#include "base/AppPaths.h"
#include "base/Clock.h"
#include "base/Rounding.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <optional>

namespace OptionKeys {

QString noText()
{
    return QString();
}

QString defaultLanguageFile()
{
    return QStringLiteral("English.lang");
}

QString defaultLocationFile()
{
    return QStringLiteral("United States.loc");
}

QString defaultVoice()
{
    return QStringLiteral("Default");
}

QString defaultCharacterFile()
{
    return QStringLiteral("Wobbo_Mini.acs");
}

QString defaultBackupFolder()
{
    return AppPaths::programFolder();
}

QString today()
{
    return Clock::currentDate().toString(Qt::ISODate);
}

QString section()
{
    return QStringLiteral("Setting");
}

QString TextKey::parse(const QString &stored) const
{
    if (fileName) {
        const QString name = stored.trimmed();
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == u"." ||
            name == u"..")
            return defaultValue();
    }
    return stored;
}

int IntKey::parse(const QString &stored) const
{
    const QString text = stored.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (rounded) {
        const double number = text.toDouble(&ok);
        if (!ok || !std::isfinite(number) || std::fabs(number) > 1e15)
            return defaultValue;
        value = qint64(RoundHalfEven(number));
    } else {
        value = text.toLongLong(&ok);
        if (!ok)
            return defaultValue;
    }
    if (value < minimum || value > maximum)
        return defaultValue;
    return int(value);
}

bool TruthKey::parse(const QString &stored) const
{
    const QString text = stored.trimmed();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok && std::isfinite(number))
        return number != 0.0;
    if (text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

namespace {

// The stored text, or nothing when the key is missing.
std::optional<QString> stored(const QString &key, const SettingsStore &store)
{
    // Asked of the registry itself: an empty text is a value, a missing key is not.
    const auto value = store.registry().value(
            SettingsStore::sectionPath(SettingsStore::AppName, section()), key);
    if (!value)
        return std::nullopt;
    return value->toText();
}

} // namespace

QString read(const TextKey &key, const SettingsStore &store)
{
    const auto text = stored(key.key(), store);
    return text ? key.parse(*text) : key.defaultValue();
}

int read(const IntKey &key, const SettingsStore &store)
{
    const auto text = stored(key.key(), store);
    return text ? key.parse(*text) : key.defaultValue;
}

bool read(const TruthKey &key, const SettingsStore &store)
{
    const auto text = stored(key.key(), store);
    return text ? key.parse(*text) : key.defaultValue;
}

bool save(SettingsStore &store, const TextKey &key, const QString &value)
{
    return store.save(SettingsStore::AppName, section(), key.key(), value);
}

bool save(SettingsStore &store, const IntKey &key, int value)
{
    return store.save(SettingsStore::AppName, section(), key.key(), key.format(value));
}

bool save(SettingsStore &store, const TruthKey &key, bool value)
{
    return store.save(SettingsStore::AppName, section(), key.key(), key.format(value));
}

} // namespace OptionKeys
