#pragma once

#include <QString>
#include <QStringList>

// Turns the web and mail addresses of a reminder's message into links for the pop-up page.
// Words are taken from the message: separated by space, tab, CR and LF.
class AlarmLinks final
{
public:
    // Finds the next word holding `pattern` (any letter case) from the 1-based `start`, and
    // moves `start` behind it. With `wordStart` the pattern must begin the word; without it
    // the word around the match is taken. Empty when there is none.
    static QString FindEx(qsizetype &start, const QString &text, const QString &pattern,
                          bool wordStart);
    // Every distinct word FindEx finds, in order of first appearance.
    static QStringList FindExCol(const QString &text, const QString &pattern, bool wordStart);
    static bool IsInCol(const QStringList &collection, const QString &word, bool textCompare);

    // The page body: the message as the browser shows plain text, with words beginning
    // "http://" or "www." linked to open in a new window and words holding "@" linked as
    // mail addresses. Addresses are escaped inside the attribute.
    static QString linkedHtml(const QString &message);

    static bool isSeparator(QChar c);
};
