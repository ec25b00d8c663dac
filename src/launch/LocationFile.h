#pragma once

#include <QString>

// The location file (option "Location", "United States.loc" by default, in the program
// folder): lines "SEARCH,engine,prefix", "NEWS,...", "LINK,...", and "SITE,address" for
// the web texts' site.
namespace LocationFile {

inline const QString DefaultName = QStringLiteral("United States.loc");

// The full path of the location file named `name` (the option's value).
QString path(const QString &name = DefaultName);

// The first line that begins with `key` (letter case ignored) gives the rest of the line
// after the key and one more character (the separating comma). Empty when the file or the
// line is missing. "SEARCH,MSN" also matches a line for "SEARCH,MSNBC": the first wins.
QString value(const QString &filePath, const QString &key);

} // namespace LocationFile
