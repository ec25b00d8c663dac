#include "reminders/AlarmLinks.h"

#include "platform/browser/HtmlText.h"

#include <QSet>

bool AlarmLinks::isSeparator(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString AlarmLinks::FindEx(qsizetype &start, const QString &text, const QString &pattern,
                           bool wordStart)
{
    if (pattern.isEmpty() || start < 1)
        return {};
    qsizetype match = text.indexOf(pattern, start - 1, Qt::CaseInsensitive);
    if (wordStart) {
        while (match > 0 && !isSeparator(text[match - 1]))
            match = text.indexOf(pattern, match + 1, Qt::CaseInsensitive);
    }
    if (match < 0)
        return {};
    qsizetype first = match;
    while (first > 0 && !isSeparator(text[first - 1]))
        --first;
    qsizetype end = match;
    while (end < text.size() && !isSeparator(text[end]))
        ++end;
    start = end + 1; // 1-based position just after the word
    return text.mid(first, end - first);
}

QStringList AlarmLinks::FindExCol(const QString &text, const QString &pattern, bool wordStart)
{
    // A set beside the list keeps this linear: a message of many distinct addresses
    // took half a minute when each word searched the list.
    QStringList words;
    QSet<QString> seen;
    qsizetype start = 1;
    for (;;) {
        const QString word = FindEx(start, text, pattern, wordStart);
        if (word.isEmpty())
            return words;
        if (!seen.contains(word)) {
            seen.insert(word);
            words << word;
        }
    }
}

bool AlarmLinks::IsInCol(const QStringList &collection, const QString &word, bool textCompare)
{
    return collection.contains(word, textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

QString AlarmLinks::linkedHtml(const QString &message)
{
    const auto collect = [&](const QString &pattern, bool wordStart) {
        const QStringList words = FindExCol(message, pattern, wordStart);
        return QSet<QString>(words.cbegin(), words.cend());
    };
    const QSet<QString> web = collect(QStringLiteral("http://"), true);
    const QSet<QString> www = collect(QStringLiteral("www."), true);
    const QSet<QString> mail = collect(QStringLiteral("@"), false);

    const auto anchor = [](const QString &address, const QString &shown,
                           bool newWindow) -> QString {
        return QStringLiteral("<a ") +
               (newWindow ? QStringLiteral("target=\"_blank\" ") : QString()) +
               QStringLiteral("href=\"") + HtmlText::attribute(address) + QStringLiteral("\">") +
               HtmlText::fromPlainText(shown) + QStringLiteral("</a>");
    };
    const auto linked = [&](const QString &word) -> QString {
        // A word with characters the page escapes is not an address the page can show
        // as typed; it stays plain text.
        if (HtmlText::fromPlainText(word) != word)
            return HtmlText::fromPlainText(word);
        // One link per word: the first rule that collected it wins, so an address is
        // never linked inside another link.
        if (web.contains(word))
            return anchor(word, word, true);
        if (www.contains(word))
            return anchor(QStringLiteral("http://") + word, word, true);
        if (mail.contains(word))
            return anchor(QStringLiteral("mailto:") + word, word, false);
        return word;
    };

    QString html;
    html.reserve(message.size() * 2);
    qsizetype i = 0;
    while (i < message.size()) {
        if (isSeparator(message[i])) {
            qsizetype end = i;
            while (end < message.size() && isSeparator(message[end]))
                ++end;
            html += HtmlText::fromPlainText(message.mid(i, end - i));
            i = end;
            continue;
        }
        qsizetype end = i;
        while (end < message.size() && !isSeparator(message[end]))
            ++end;
        html += linked(message.mid(i, end - i));
        i = end;
    }
    return html;
}
