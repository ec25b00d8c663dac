#pragma once

#include <QString>

// Text into HTML the way a browser writes a body's plain text: markup characters escaped,
// line breaks as <br>. Quotes stay as they are in text; attributes need attribute().
class HtmlText final
{
public:
    static QString fromPlainText(const QString &text);
    // A value safe inside a double-quoted attribute.
    static QString attribute(const QString &value);
};
