#pragma once

#include <QString>
#include <limits>

class SettingsStore;

// Every key of section "Setting" in one place: its name, its default and what a stored text
// may be. Reading is tolerant: a missing key, a text that is not a number under a number key,
// or a number outside the key's range all read as the default, so a damaged store never
// stops the program.
namespace OptionKeys {

// A text option. Some defaults depend on the user's folders or on today's date.
struct TextKey
{
    const char *name;
    QString (*defaultValue)();
    // The text names a file of the program or characters folder: anything with a path in it
    // reads as the default.
    bool fileName = false;

    QString key() const { return QString::fromLatin1(name); }
    QString parse(const QString &stored) const;
};

// A whole-number option, stored as decimal text.
struct IntKey
{
    const char *name;
    int defaultValue;
    int minimum = std::numeric_limits<int>::min();
    int maximum = std::numeric_limits<int>::max();
    // Read as a decimal number and rounded to the nearest whole number, halves to even.
    bool rounded = false;

    QString key() const { return QString::fromLatin1(name); }
    int parse(const QString &stored) const;
    QString format(int value) const { return QString::number(value); }
};

// An on/off option stored as "1" or "0"; any non-zero number reads as on.
struct TruthKey
{
    const char *name;
    bool defaultValue;

    QString key() const { return QString::fromLatin1(name); }
    bool parse(const QString &stored) const;
    QString format(bool value) const { return value ? QStringLiteral("1") : QStringLiteral("0"); }
};

QString noText();
QString defaultLanguageFile();
QString defaultLocationFile();
QString defaultVoice();
QString defaultCharacterFile();
QString defaultBackupFolder(); // the program folder
QString today();               // ISO date of the program clock

// clang-format off
inline constexpr TextKey StRun{"StRun", noText};            // first-run marker
inline constexpr TextKey User{"User", noText};
inline constexpr TextKey Lang{"Lang", defaultLanguageFile, true};
inline constexpr TextKey Location{"Location", defaultLocationFile, true};
inline constexpr TextKey Voice{"Voice", defaultVoice};
inline constexpr TextKey Char{"Char", defaultCharacterFile, true};
inline constexpr IntKey Stay{"Stay", 30, 1, 100};           // minutes
inline constexpr IntKey Move{"Move", 0};                    // not 0: going home stops first
inline constexpr IntKey Follow{"Follow", 30, 0};            // seconds
inline constexpr IntKey Hide{"Hide", 30, 0};                // minutes
inline constexpr IntKey Idle{"Idle", 30, 0};                // minutes
inline constexpr IntKey Vol{"Vol", 58500, 0, 65535, true};  // speech volume
inline constexpr IntKey MoveScr{"MoveScr", 0, 0};           // minutes between walks, 0 never
inline constexpr IntKey Quit{"Quit", 0};                    // not 0: ask what follows quitting
inline constexpr TruthKey CharRot{"CharRot", true};         // new character at every start
inline constexpr IntKey SearchEngine{"SearchEngine", 0, 0, 7, true};
inline constexpr IntKey CharPos{"CharPos", 1, 0, 4};        // home position code
inline constexpr TextKey AutoBackupDir{"AutoBackupDir", defaultBackupFolder}; // empty: off
inline constexpr TextKey LastAutoBackup{"LastAutoBackup", today};
// clang-format on

// The section of every key above, under SettingsStore::AppName.
QString section();

QString read(const TextKey &key, const SettingsStore &store);
int read(const IntKey &key, const SettingsStore &store);
bool read(const TruthKey &key, const SettingsStore &store);

bool save(SettingsStore &store, const TextKey &key, const QString &value);
bool save(SettingsStore &store, const IntKey &key, int value);
bool save(SettingsStore &store, const TruthKey &key, bool value);

} // namespace OptionKeys
