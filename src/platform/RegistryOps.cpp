#include "platform/RegistryOps.h"

#include "platform/AutostartEntry.h"
#include "platform/RegistryStore.h"

#include <QtDebug>
#include <array>
#include <utility>

namespace {

struct RootName
{
    const char *name;
    quint32 handle;
    const char *shortName; // as registry files may write it; nullptr when there is none
};

constexpr std::array<RootName, 7> kRoots{{
        {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot, "HKCR"},
        {"HKEY_CURRENT_USER", RegRoot::CurrentUser, "HKCU"},
        {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine, "HKLM"},
        {"HKEY_USERS", RegRoot::Users, "HKU"},
        {"HKEY_PERFORMANCE_DATA", RegRoot::PerformanceData, nullptr},
        {"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig, "HKCC"},
        {"HKEY_DYN_DATA", RegRoot::DynData, nullptr},
}};

const RootName *rootNamed(const QString &name)
{
    for (const RootName &entry : kRoots) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0 ||
            (entry.shortName &&
             name.compare(QLatin1String(entry.shortName), Qt::CaseInsensitive) == 0))
            return &entry;
    }
    return nullptr;
}

int g_lastResult = RegResult::Success;

std::function<void(const QString &)> &messageHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

void showMessage(const QString &text)
{
    if (const auto &handler = messageHandler())
        handler(text);
    else
        qWarning().noquote() << text;
}

// The store's path of a key: the root's name, then the sub-key.
QString storePath(quint32 root, const QString &subKey)
{
    const QString rootName = RegRootName(root);
    if (rootName.isEmpty())
        return {};
    return subKey.isEmpty() ? rootName : rootName + u'\\' + subKey;
}

// Splits and resolves `path`; sets the result and returns an empty text when it is refused.
QString resolve(const QString &path)
{
    const RegPathSplit split = SplitRegPath(path);
    const QString resolved = storePath(split.root, split.subKey);
    if (resolved.isEmpty())
        g_lastResult = RegResult::InvalidHandle;
    return resolved;
}

// Opens an existing key for the value operations: sets the result as the registry would.
bool openKey(RegistryStore &store, const QString &key)
{
    if (!store.isOpen())
        g_lastResult = RegResult::IoFailed;
    else if (!store.keyExists(key))
        g_lastResult = RegResult::NotFound;
    else
        g_lastResult = RegResult::Success;
    return g_lastResult == RegResult::Success;
}

// Every writer of the start-at-login value keeps the desktop's autostart entry in step.
void afterWrite(RegistryStore &store, const QString &key)
{
    if (g_lastResult == RegResult::Success && AutostartEntry::concerns(key))
        AutostartEntry::sync(store);
}

void setValue(const QString &path, const RegValue &value)
{
    const QString key = resolve(path);
    if (key.isEmpty())
        return;
    RegistryStore &store = RegistryStore::global();
    if (!openKey(store, key))
        return;
    if (!store.setValue(key, value))
        g_lastResult = store.keyExists(key) ? RegResult::IoFailed : RegResult::NotFound;
    afterWrite(store, key);
}

} // namespace

QString RegRootName(quint32 root)
{
    for (const RootName &entry : kRoots) {
        if (entry.handle == root)
            return QLatin1String(entry.name);
    }
    return {};
}

RegPathSplit SplitRegPath(const QString &path)
{
    RegPathSplit split;
    if (!path.startsWith(QLatin1String("HKEY_"), Qt::CaseInsensitive) || path.endsWith(u'\\')) {
        showMessage(QStringLiteral("Incorrect Format:\n\n") + path);
        return split;
    }
    const qsizetype slash = path.indexOf(u'\\');
    const QString rootName = slash < 0 ? path : path.left(slash);
    split.subKey = slash < 0 ? QString() : path.mid(slash + 1);
    if (const RootName *root = rootNamed(rootName))
        split.root = root->handle;
    return split;
}

void RegCreateKeyPath(const QString &path)
{
    const QString key = resolve(path);
    if (key.isEmpty())
        return;
    g_lastResult =
            RegistryStore::global().createKey(key) ? RegResult::Success : RegResult::IoFailed;
}

void RegSetString(const QString &path, const QString &valueName, const QString &text)
{
    setValue(path, RegValue::string(valueName, text));
}

void RegSetDword(const QString &path, const QString &valueName, quint32 value)
{
    setValue(path, RegValue::number(valueName, value));
}

QString RegGetString(const QString &path, const QString &valueName)
{
    const QString fourSpaces = QStringLiteral("    ");
    const QString key = resolve(path);
    if (key.isEmpty())
        return fourSpaces;
    RegistryStore &store = RegistryStore::global();
    if (!openKey(store, key))
        return fourSpaces;
    const auto value = store.value(key, valueName);
    if (!value) {
        g_lastResult = RegResult::NotFound;
        return {};
    }
    // Trimmed of spaces only, as the text was stored; tabs and line breaks stay.
    QString text = value->toText();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

void RegDeleteValueAt(quint32 root, const QString &subKey, const QString &valueName)
{
    const QString key = storePath(root, subKey);
    if (key.isEmpty()) {
        g_lastResult = RegResult::InvalidHandle;
        return;
    }
    RegistryStore &store = RegistryStore::global();
    if (!openKey(store, key))
        return;
    if (!store.value(key, valueName)) {
        g_lastResult = RegResult::NotFound;
        return;
    }
    g_lastResult = store.deleteValue(key, valueName) ? RegResult::Success : RegResult::IoFailed;
    afterWrite(store, key);
}

void RegDeleteKeyPath(const QString &path)
{
    const QString key = resolve(path);
    if (key.isEmpty())
        return;
    if (!key.contains(u'\\')) {
        // A root key cannot be deleted.
        g_lastResult = RegResult::InvalidHandle;
        return;
    }
    RegistryStore &store = RegistryStore::global();
    if (!openKey(store, key))
        return;
    g_lastResult = store.deleteKey(key) ? RegResult::Success : RegResult::IoFailed;
    afterWrite(store, key);
}

int RegLastResult()
{
    return g_lastResult;
}

void SetRegistryMessageHandler(std::function<void(const QString &)> handler)
{
    messageHandler() = std::move(handler);
}

QString RegRootFullName(const QString &name)
{
    const RootName *root = rootNamed(name);
    return root ? QLatin1String(root->name) : QString();
}
