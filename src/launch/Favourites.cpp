#include "launch/Favourites.h"

#include "settings/SettingsStore.h"

namespace Favourites {

namespace {

// The stored spelling of a prefix given in any case.
QString sectionOf(const QString &prefix)
{
    for (const QString &known : {Folders, Sites, Programs}) {
        if (known.compare(prefix, Qt::CaseInsensitive) == 0)
            return known;
    }
    return prefix;
}

} // namespace

FavouriteEntry parse(const QString &value)
{
    const qsizetype comma = value.indexOf(u',');
    if (comma < 0)
        return {value, QString()};
    return {value.left(comma), value.mid(comma + 1)};
}

QString format(const FavouriteEntry &entry)
{
    return entry.name + u',' + entry.target;
}

QString cleanName(const QString &name)
{
    QString clean = name;
    return clean.replace(u',', u'.');
}

FavouriteList read(const SettingsStore &store, const QString &prefix)
{
    const QString section = sectionOf(prefix);
    FavouriteList list;
    for (int n = 0;; ++n) {
        const QString value =
                store.get(SettingsStore::AppName, section, section + QString::number(n));
        if (value.isEmpty())
            return list;
        list << parse(value);
    }
}

bool write(SettingsStore &store, const QString &prefix, const FavouriteList &list)
{
    const QString section = sectionOf(prefix);
    SettingsStore::Entries entries;
    entries.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i)
        entries.append({section + QString::number(i), format(list.at(i))});
    return store.replaceSection(SettingsStore::AppName, section, entries);
}

QString FindFavouriteTarget(const SettingsStore &store, const QString &prefix, const QString &name)
{
    // Upper case on both sides, so that "STRASSE" finds "Straße" as the user expects.
    const QString wanted = name.toUpper();
    for (const FavouriteEntry &entry : read(store, prefix)) {
        if (entry.name.toUpper() == wanted)
            return entry.target;
    }
    return {};
}

} // namespace Favourites
