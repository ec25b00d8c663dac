#pragma once

#include <QList>
#include <QString>

class SettingsStore;

// One favourite: what the menu shows and what the launcher opens.
struct FavouriteEntry
{
    QString name;
    QString target;
    bool operator==(const FavouriteEntry &) const = default;
};
using FavouriteList = QList<FavouriteEntry>;

// The three favourite lists in the settings store: section and key prefix "Dir", "Site",
// "Pro"; key prefix + 0-based position; value name + "," + target. The keys are dense: a
// list ends at the first missing or empty value.
namespace Favourites {

inline const QString Folders = QStringLiteral("Dir");
inline const QString Sites = QStringLiteral("Site");
inline const QString Programs = QStringLiteral("Pro");

// Splits a stored value at its first comma; without one the target is empty.
FavouriteEntry parse(const QString &value);
QString format(const FavouriteEntry &entry);
// A display name as stored: a comma would move the rest of the name into the target.
QString cleanName(const QString &name);

// `prefix` is matched without regard to case ("pro" reads "Pro").
FavouriteList read(const SettingsStore &store, const QString &prefix);
// Replaces the whole list in one transaction.
bool write(SettingsStore &store, const QString &prefix, const FavouriteList &list);
// The target of the first entry named `name` (case ignored); empty when there is none.
QString FindFavouriteTarget(const SettingsStore &store, const QString &prefix, const QString &name);

} // namespace Favourites
