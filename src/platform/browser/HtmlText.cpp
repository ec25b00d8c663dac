#include "platform/browser/HtmlText.h"

QString HtmlText::fromPlainText(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&')
            out += QLatin1String("&amp;");
        else if (c == u'<')
            out += QLatin1String("&lt;");
        else if (c == u'>')
            out += QLatin1String("&gt;");
        else if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QLatin1String("<br>");
        } else if (c == u'\n')
            out += QLatin1String("<br>");
        else
            out += c;
    }
    return out;
}

QString HtmlText::attribute(const QString &value)
{
    QString out = value.toHtmlEscaped(); // & < > "
    out.replace(u'\'', QLatin1String("&#39;"));
    return out;
}
