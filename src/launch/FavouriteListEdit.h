#pragma once

#include "launch/Favourites.h"

class SettingsStore;

// The working copy that a favourites window edits: read from the store when it opens,
// changed by the list commands, written back by OK as one transaction. Rows are 0-based.
class FavouriteListEdit final
{
public:
    FavouriteListEdit(SettingsStore &store, const QString &prefix);

    const FavouriteList &entries() const { return m_entries; }
    QString prefix() const { return m_prefix; }

    // Appends an entry at the end; nothing when the target or the name is empty. A comma in
    // the name becomes a full stop.
    bool add(const QString &target, const QString &name);
    bool remove(int row);
    // The row's new place (unchanged at either end or out of range).
    int moveUp(int row);
    int moveDown(int row);
    // Writes the row's fields as edited; a comma in the name becomes a full stop here too,
    // or the next reading would move the rest of the name into the target.
    bool edit(int row, const QString &name, const QString &target);
    // Writes the whole list back over the stored one.
    bool save();

    // Whether an address typed into the site prompt is more than an empty protocol start.
    static bool isSiteAddress(const QString &answer);
    // The "*.ext" pattern of a chosen file ("*.exe" for run.exe); empty without extension.
    static QString extensionPattern(const QString &file);

private:
    bool valid(int row) const { return row >= 0 && row < m_entries.size(); }

    SettingsStore &m_store;
    QString m_prefix;
    FavouriteList m_entries;
};
