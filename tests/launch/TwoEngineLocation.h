#pragma once

#include <QFile>
#include <QTemporaryDir>

// A location file in `dir` with search lines for Google and MSN only.
inline QString twoEngineLocationFile(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("Test.loc");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("SEARCH,Google,https://g.example/?q=\r\nSEARCH,MSN,https://m.example/?q=\r\n");
    return path;
}
