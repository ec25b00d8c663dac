#pragma once

#include <QString>
#include <functional>

// Direct registry access by full path ("HKEY_CURRENT_USER\Software\..."), acting on the
// user's store. Like the system calls they stand in for, the operations report failure only
// through RegLastResult(); the one message they show is the path format complaint.

// Root key handles, as the registry numbers them.
namespace RegRoot {
inline constexpr quint32 ClassesRoot = 0x80000000;
inline constexpr quint32 CurrentUser = 0x80000001;
inline constexpr quint32 LocalMachine = 0x80000002;
inline constexpr quint32 Users = 0x80000003;
inline constexpr quint32 PerformanceData = 0x80000004;
inline constexpr quint32 CurrentConfig = 0x80000005;
inline constexpr quint32 DynData = 0x80000006;
} // namespace RegRoot

// Result codes of RegLastResult(), the registry's own numbers.
namespace RegResult {
inline constexpr int Success = 0;
inline constexpr int NotFound = 2;      // key or value missing
inline constexpr int InvalidHandle = 6; // unknown root or refused path
inline constexpr int IoFailed = 1016;   // the store could not be read or written
} // namespace RegResult

struct RegPathSplit
{
    quint32 root = 0; // 0x80000000.. or 0 for an unknown root name
    QString subKey;
};

// Root name before the first "\", sub-key after it. A path not beginning with "HKEY_" or
// ending with "\" is refused with the "Incorrect Format:" message and root 0.
RegPathSplit SplitRegPath(const QString &path);
void RegCreateKeyPath(const QString &path);
// The value operations write into an existing key only.
void RegSetString(const QString &path, const QString &valueName, const QString &text);
void RegSetDword(const QString &path, const QString &valueName, quint32 value);
// The stored text trimmed of spaces; four spaces when the key cannot be opened, empty when
// the value is missing.
QString RegGetString(const QString &path, const QString &valueName);
void RegDeleteValueAt(quint32 root, const QString &subKey, const QString &valueName);
// Deletes a key with everything below it.
void RegDeleteKeyPath(const QString &path);
// 0 when the last operation succeeded; otherwise one of RegResult.
int RegLastResult();

// The "Incorrect Format:" message goes through this handler; the GUI installs one that
// shows a message box. The default logs a warning. An empty handler restores the default.
void SetRegistryMessageHandler(std::function<void(const QString &)> handler);

// The root's name for a handle ("HKEY_CURRENT_USER"); empty for an unknown handle.
QString RegRootName(quint32 root);
// The full name of a root written in full or short ("hkcu" -> "HKEY_CURRENT_USER"); empty
// for an unknown root.
QString RegRootFullName(const QString &name);
