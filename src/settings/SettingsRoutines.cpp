#include "settings/SettingsRoutines.h"

#include "base/AppPaths.h"
#include "base/AppTitle.h"
#include "base/Language.h"
#include "base/SpecialFolders.h"
#include "platform/RegistryOps.h"
#include "platform/RegistryStore.h"
#include "settings/AppState.h"
#include "settings/OptionKeys.h"
#include "settings/OptionValues.h"
#include "settings/SettingsHooks.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <exception>
#include <pwd.h>
#include <unistd.h>

namespace {

// Runs one step; a step that throws is skipped and the routine goes on.
template <typename Step>
void runStep(const char *name, Step &&step)
{
    try {
        step();
    } catch (const std::exception &error) {
        qWarning("Settings step \"%s\" failed: %s", name, error.what());
    } catch (...) {
        qWarning("Settings step \"%s\" failed", name);
    }
}

QStringList offeredCharacterFiles(const SettingsHooks &hooks)
{
    if (hooks.characterFiles)
        return hooks.characterFiles();
    return QDir(appState().CharsDir)
            .entryList({QStringLiteral("*.acs")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

// The first of several commands that is installed, else the first one.
QString firstInstalled(const QStringList &commands)
{
    for (const QString &command : commands) {
        if (!QStandardPaths::findExecutable(command).isEmpty())
            return command;
    }
    return commands.constFirst();
}

} // namespace

void LoadSettings(const SettingsHooks &hooks)
{
    using namespace OptionKeys;
    if (hooks.loadReminders)
        runStep("load reminders", hooks.loadReminders);

    runStep("user name", [&] {
        SettingsStore store;
        const QString stored = read(User, store);
        if (!stored.trimmed().isEmpty() || !hooks.askUserName) {
            appState().UserName = stored;
            return;
        }
        // An empty answer is kept too: the question comes again at the next load.
        appState().UserName = hooks.askUserName(GetFullName());
        save(store, User, appState().UserName);
    });

    if (hooks.prepareCharacter)
        runStep("prepare character", hooks.prepareCharacter);

    runStep("read options", [] {
        const SettingsStore store;
        OptionValues &values = optionValues();
        forEachInMemory([&](const auto &key) { values.*key.member = read(key, store); });
        appState().OptionsLoaded = true;
    });

    if (hooks.setVoice)
        runStep("set voice", [&] { hooks.setVoice(optionValues().Voice); });
    if (hooks.optionsLoaded)
        runStep("apply options", hooks.optionsLoaded);
}

void SaveSettings(const SettingsHooks &hooks)
{
    using namespace OptionKeys;
    if (hooks.saveReminders)
        runStep("save reminders", hooks.saveReminders);

    // Options never read are the defaults, not the user's: they are not written over the
    // stored ones.
    if (!appState().OptionsLoaded)
        return;
    runStep("save options", [] {
        SettingsStore store;
        const OptionValues &values = optionValues();
        // One transaction: the options land together or, when a write fails, not at all.
        store.registry().transaction([&] {
            save(store, User, appState().UserName);
            save(store, Lang, appState().LangChosen);
            forEachInMemory([&](const auto &key) { save(store, key, values.*key.member); });
            return true;
        });
    });

    if (optionValues().CharRot)
        runStep("pick next character", [&] { PickNextCharacter(hooks); });
}

void PickNextCharacter(const SettingsHooks &hooks)
{
    const QStringList files = offeredCharacterFiles(hooks);
    if (files.isEmpty())
        return;
    const QString next = files.at(QRandomGenerator::global()->bounded(int(files.size())));
    SettingsStore store;
    OptionKeys::save(store, OptionKeys::Char, next);
}

QList<FirstRunValue> FirstRunValues()
{
    const QString setting = OptionKeys::section();
    const QString pro = QStringLiteral("Pro");
    const QString dir = QStringLiteral("Dir");
    const QString calculator =
            firstInstalled({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                            QStringLiteral("mate-calc"), QStringLiteral("galculator"),
                            QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")});
    const QString editor = firstInstalled(
            {QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kate"),
             QStringLiteral("kwrite"), QStringLiteral("mousepad"), QStringLiteral("pluma"),
             QStringLiteral("xed"), QStringLiteral("featherpad")});
    const QString terminal =
            firstInstalled({QStringLiteral("x-terminal-emulator"), QStringLiteral("gnome-terminal"),
                            QStringLiteral("konsole"), QStringLiteral("xfce4-terminal"),
                            QStringLiteral("mate-terminal"), QStringLiteral("xterm")});
    return {
            {setting, OptionKeys::StRun.key(), QStringLiteral("No")},
            {pro, QStringLiteral("Pro0"), QStringLiteral("Web Browser,*.html")},
            {pro, QStringLiteral("Pro1"), QStringLiteral("Spreadsheet,*.ods")},
            {pro, QStringLiteral("Pro2"), QStringLiteral("Word Processor,*.odt")},
            {pro, QStringLiteral("Pro3"), QStringLiteral("Mail,*.eml")},
            {pro, QStringLiteral("Pro4"), QStringLiteral("Calendar,*.ics")},
            {pro, QStringLiteral("Pro5"), QStringLiteral("Calculator,") + calculator},
            {pro, QStringLiteral("Pro6"), QStringLiteral("Text Editor,") + editor},
            {pro, QStringLiteral("Pro7"), QStringLiteral("Terminal,") + terminal},
            {dir, QStringLiteral("Dir0"), QStringLiteral("Computer,computer:///")},
            {dir, QStringLiteral("Dir1"), QStringLiteral("Network,network:///")},
            {dir, QStringLiteral("Dir2"),
             QStringLiteral("Documents,") + GetSpecialFolder(nullptr, SpecialFolder::Documents)},
            {dir, QStringLiteral("Dir3"),
             QStringLiteral("Music,") + GetSpecialFolder(nullptr, SpecialFolder::Music)},
            {dir, QStringLiteral("Dir4"),
             QStringLiteral("Pictures,") + GetSpecialFolder(nullptr, SpecialFolder::Pictures)},
    };
}

QString RunKeyPath()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

QString AgentKeyPath()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Agent");
}

bool WriteFirstRunDefaults()
{
    SettingsStore store;
    if (!store.get(SettingsStore::AppName, OptionKeys::section(), OptionKeys::StRun.key())
                 .isEmpty())
        return false;

    const QList<FirstRunValue> values = FirstRunValues();
    const bool written = store.registry().transaction([&] {
        if (!store.deleteApplication(SettingsStore::AppName))
            return false;
        for (const FirstRunValue &value : values)
            store.save(SettingsStore::AppName, value.section, value.key, value.value);
        return true;
    });
    if (!written)
        qWarning("First-run defaults could not be written: %s",
                 qUtf8Printable(store.registry().lastError()));

    runStep("start at login", [] {
        RegCreateKeyPath(RunKeyPath());
        RegSetString(RunKeyPath(), AppTitle(), GetExePath());
    });
    runStep("character component", [] {
        RegCreateKeyPath(AgentKeyPath());
        RegSetDword(AgentKeyPath(), QStringLiteral("UseCharacterFont"), 1);
        RegSetDword(AgentKeyPath(), QStringLiteral("SpeakingSpeed"), 4);
    });
    appState().FirstRun = true;
    return true;
}

void ReadCharsDir()
{
    const QString stored = SettingsStore().get(SettingsStore::SharedAppName,
                                               QStringLiteral("Chars"), QStringLiteral("CharsDir"));
    // A folder that is not there (a path from another system in an imported store) would
    // leave the character lists empty: the program's own folder serves instead.
    appState().CharsDir = QFileInfo(stored).isDir() ? stored : AppPaths::defaultCharsFolder();
}

void ReadLanguage()
{
    AppState &state = appState();
    state.LangInForce = OptionKeys::read(OptionKeys::Lang, SettingsStore());
    state.LangChosen = state.LangInForce;
    LoadLanguage(state.LangInForce);
}

QString FullNameFromAccount(const QString &comment, const QString &login)
{
    const QString name = comment.section(u',', 0, 0).trimmed();
    return name.compare(login, Qt::CaseInsensitive) == 0 ? QString() : name.left(255);
}

QString GetFullName()
{
    const passwd *entry = getpwuid(geteuid());
    if (!entry || !entry->pw_gecos || !entry->pw_name)
        return QString();
    return FullNameFromAccount(QString::fromLocal8Bit(entry->pw_gecos),
                               QString::fromLocal8Bit(entry->pw_name));
}

QString GetLoginName()
{
    QString name;
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        name = QString::fromLocal8Bit(entry->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    name = name.left(255);
    return name.isEmpty() ? QStringLiteral("Buddy") : name;
}
