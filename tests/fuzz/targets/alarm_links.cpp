// The links of a reminder's pop-up page (AlarmLinks::linkedHtml). Property, no injection:
// every "<" of the page opens a tag the builder makes (a link, its end, a line break), a
// link holds only text and points at a web or mail address made from its own text, and
// the text outside the tags, unescaped, is the message itself.
#include "FuzzSupport.h"
#include "reminders/AlarmLinks.h"

#include <QRegularExpression>

namespace {

// The entities the page may use in text and in attributes.
QString unescaped(const QString &html, const QString &whole)
{
    QString out;
    for (qsizetype i = 0; i < html.size(); ++i) {
        if (html.at(i) == u'>')
            Fuzz::fail("no bare > outside a tag", whole);
        if (html.at(i) != u'&') {
            out += html.at(i);
            continue;
        }
        static const std::pair<QString, QChar> entities[] = {{QStringLiteral("&amp;"), u'&'},
                                                             {QStringLiteral("&lt;"), u'<'},
                                                             {QStringLiteral("&gt;"), u'>'},
                                                             {QStringLiteral("&quot;"), u'"'},
                                                             {QStringLiteral("&#39;"), u'\''}};
        bool known = false;
        for (const auto &[entity, c] : entities) {
            if (QStringView(html).mid(i).startsWith(entity)) {
                out += c;
                i += entity.size() - 1;
                known = true;
                break;
            }
        }
        if (!known)
            Fuzz::fail("every & starts an entity", whole);
    }
    return out;
}

QString attributeText(const QString &value, const QString &whole)
{
    for (const QChar c : value) {
        if (c == u'<' || c == u'>' || c == u'"')
            Fuzz::fail("an attribute holds no < > or \"", whole);
    }
    return unescaped(value, whole);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString message = QString::fromUtf8(Fuzz::bytes(data, size));
    const QString html = AlarmLinks::linkedHtml(message);
    const QString whole = message + QStringLiteral("\n ==> \n") + html;

    static const QRegularExpression opening(
            QStringLiteral(R"re(\G<a (target="_blank" )?href="([^"]*)">([^<]*)</a>)re"));
    static const QString lineBreak = QStringLiteral("<br>");
    QString text; // the page's text, line breaks as "\n"
    qsizetype pos = 0;
    while (pos < html.size()) {
        const qsizetype tag = html.indexOf(u'<', pos);
        const qsizetype textEnd = tag < 0 ? html.size() : tag;
        text += unescaped(html.mid(pos, textEnd - pos), whole);
        if (tag < 0)
            break;
        if (QStringView(html).mid(tag).startsWith(lineBreak)) {
            text += u'\n';
            pos = tag + lineBreak.size();
            continue;
        }
        const QRegularExpressionMatch link = opening.match(html, tag);
        if (!link.hasMatch())
            Fuzz::fail("every < opens a link or a line break", whole);
        const QString address = attributeText(link.captured(2), whole);
        const QString shown = unescaped(link.captured(3), whole);
        const bool newWindow = link.capturedLength(1) > 0;
        const bool matches = newWindow ? (address == shown || address == u"http://" + shown)
                                       : address == u"mailto:" + shown;
        if (!matches || shown.isEmpty())
            Fuzz::fail("a link points at its own text", whole);
        const bool web = address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
                         address.startsWith(QLatin1String("mailto:"));
        if (!web || shown.contains(u'\n'))
            Fuzz::fail("a link is a web or mail address of one word", whole);
        text += shown;
        pos = link.capturedEnd(0);
    }

    QString expected = message;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    FUZZ_CHECK(text == expected, whole);
    return 0;
}
