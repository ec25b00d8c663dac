#pragma once

#include "settings/SettingsStore.h"

// What the store_writer helper writes, shared with the tests that check it.
namespace StoreWriterProtocol {

inline const QString App = QStringLiteral("Writer\\1");

// Section content number `round`: even rounds "a" texts, odd rounds "b" texts and one more
// value, so a half-written section can never pass for either.
inline SettingsStore::Entries content(int count, int round)
{
    SettingsStore::Entries entries;
    const QChar letter = round % 2 ? u'b' : u'a';
    for (int i = 0; i < count + round % 2; ++i)
        entries.append({QStringLiteral("k%1").arg(i), QStringLiteral("%1%2").arg(letter).arg(i)});
    return entries;
}

} // namespace StoreWriterProtocol
