#pragma once

#include "settings/OptionValues.h"

#include <QString>
#include <limits>
#include <tuple>

class SettingsStore;

// Every key of section "Setting" in one table: its name, its type, its default, what a stored
// text may be and, for an option kept in memory, its member of OptionValues. Reading, saving
// and the in-memory defaults all come from this table. Reading is tolerant: a missing key, a
// text that is not a number under a number key, or a number outside the key's range all read
// as the default, so a damaged store never stops the program.
namespace OptionKeys {

// A text option. Some defaults depend on the user's folders or on today's date.
struct TextKey
{
    const char *name;
    QString (*defaultValue)();
    // The text names a file of the program or characters folder: anything with a path in it
    // reads as the default.
    bool fileName = false;
    QString OptionValues::*member = nullptr;

    QString key() const { return QString::fromLatin1(name); }
    QString initial() const { return defaultValue(); }
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
    int OptionValues::*member = nullptr;

    QString key() const { return QString::fromLatin1(name); }
    int initial() const { return defaultValue; }
    int parse(const QString &stored) const;
    QString format(int value) const { return QString::number(value); }
};

// An on/off option stored as "1" or "0"; any non-zero number reads as on.
struct TruthKey
{
    const char *name;
    bool defaultValue;
    bool OptionValues::*member = nullptr;

    QString key() const { return QString::fromLatin1(name); }
    bool initial() const { return defaultValue; }
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

constexpr int Lowest = std::numeric_limits<int>::min();
constexpr int Highest = std::numeric_limits<int>::max();

// clang-format off
// Kept elsewhere than in OptionValues.
inline constexpr TextKey StRun{"StRun", noText};                    // first-run marker
inline constexpr TextKey User{"User", noText};                      // AppState::UserName
inline constexpr TextKey Lang{"Lang", defaultLanguageFile, true};   // AppState::LangChosen
inline constexpr TextKey Char{"Char", defaultCharacterFile, true};  // AppState::CharFile
inline constexpr TextKey LastAutoBackup{"LastAutoBackup", today};

// Kept in OptionValues. Minutes and seconds as the behaviour timers count them; Move and
// Quit are switches (not 0: on); MoveScr 0 never walks; AutoBackupDir empty: no backups.
// A number is read as stored: the options dialog checks what the user types, and those who
// use a value (placement, the web search, the voice) cope with one they do not know.
inline constexpr TextKey Location{"Location", defaultLocationFile, true, &OptionValues::Location};
inline constexpr TextKey Voice{"Voice", defaultVoice, false, &OptionValues::Voice};
inline constexpr IntKey Stay{"Stay", 30, Lowest, Highest, false, &OptionValues::Stay};
inline constexpr IntKey Move{"Move", 0, Lowest, Highest, false, &OptionValues::Move};
inline constexpr IntKey Follow{"Follow", 30, 0, Highest, false, &OptionValues::Follow};
inline constexpr IntKey Hide{"Hide", 30, 0, Highest, false, &OptionValues::Hide};
inline constexpr IntKey Idle{"Idle", 30, 0, Highest, false, &OptionValues::Idle};
inline constexpr IntKey Vol{"Vol", 58500, Lowest, Highest, true, &OptionValues::Vol};
inline constexpr IntKey MoveScr{"MoveScr", 0, 0, Highest, false, &OptionValues::MoveScr};
inline constexpr IntKey Quit{"Quit", 0, Lowest, Highest, false, &OptionValues::Quit};
inline constexpr TruthKey CharRot{"CharRot", true, &OptionValues::CharRot};
inline constexpr IntKey CharPos{"CharPos", 1, Lowest, Highest, false, &OptionValues::CharPos};
inline constexpr IntKey SearchEngine{"SearchEngine", 0, Lowest, Highest, true,
                                     &OptionValues::SearchEngine};
inline constexpr TextKey AutoBackupDir{"AutoBackupDir", defaultBackupFolder, false,
                                       &OptionValues::AutoBackupDir};
// clang-format on

// The options kept in memory, in the order SaveSettings writes them.
inline constexpr std::tuple InMemory{Location, Voice,   Stay,         Move,         Follow,
                                     Hide,     Idle,    Vol,          MoveScr,      Quit,
                                     CharRot,  CharPos, SearchEngine, AutoBackupDir};

// Calls `visit(key)` for every option kept in memory, in the order above.
template <typename Visit>
void forEachInMemory(Visit &&visit)
{
    std::apply([&](const auto &...key) { (visit(key), ...); }, InMemory);
}

// The section of every key above, under SettingsStore::AppName.
QString section();

QString read(const TextKey &key, const SettingsStore &store);
int read(const IntKey &key, const SettingsStore &store);
bool read(const TruthKey &key, const SettingsStore &store);

bool save(SettingsStore &store, const TextKey &key, const QString &value);
bool save(SettingsStore &store, const IntKey &key, int value);
bool save(SettingsStore &store, const TruthKey &key, bool value);

} // namespace OptionKeys
