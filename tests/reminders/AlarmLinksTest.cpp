#include "reminders/AlarmLinks.h"

#include "platform/browser/HtmlText.h"

#include <gtest/gtest.h>

namespace {

struct LinkCase
{
    const char *name;
    const char *message;
    const char *html;
};

void PrintTo(const LinkCase &c, std::ostream *os)
{
    *os << c.name;
}

class LinkTest : public testing::TestWithParam<LinkCase>
{
};

TEST_P(LinkTest, BuildsThePage)
{
    EXPECT_EQ(AlarmLinks::linkedHtml(QString::fromUtf8(GetParam().message)).toStdString(),
              std::string(GetParam().html));
}

const LinkCase linkCases[] = {
        {"PlainText", "Call Ann at five", "Call Ann at five"},
        {"EscapesMarkupAndBreaksLines", "a<b & c>d\r\nnext\nlast",
         "a&lt;b &amp; c&gt;d<br>next<br>last"},
        {"HttpWord", "see http://example.org/x now",
         "see <a target=\"_blank\" href=\"http://example.org/x\">http://example.org/x</a> now"},
        {"CapitalHttpAfterSpace", "go HTTP://Host.org",
         "go <a target=\"_blank\" href=\"HTTP://Host.org\">HTTP://Host.org</a>"},
        {"GluedToLetterNotLinked", "xhttp://a.org (http://b.org)", "xhttp://a.org (http://b.org)"},
        {"WwwGetsHttp", "www.a.org",
         "<a target=\"_blank\" href=\"http://www.a.org\">www.a.org</a>"},
        {"HttpWwwAndBareWwwEachOnce", "http://www.a.org www.a.org",
         "<a target=\"_blank\" href=\"http://www.a.org\">http://www.a.org</a> "
         "<a target=\"_blank\" href=\"http://www.a.org\">www.a.org</a>"},
        {"MailWithFullStop", "mail ann@x.org.",
         "mail <a href=\"mailto:ann@x.org.\">ann@x.org.</a>"},
        {"WordEndingInAtAndLoneAt", "me@ @ end",
         "<a href=\"mailto:me@\">me@</a> <a href=\"mailto:@\">@</a> end"},
        {"SameAddressTwice", "http://a.org\thttp://a.org",
         "<a target=\"_blank\" href=\"http://a.org\">http://a.org</a>\t"
         "<a target=\"_blank\" href=\"http://a.org\">http://a.org</a>"},
        {"HttpWithAtIsOneLink", "http://u@h.org",
         "<a target=\"_blank\" href=\"http://u@h.org\">http://u@h.org</a>"},
        {"AmpersandWordStaysPlain", "http://a.org/?x=1&y=2", "http://a.org/?x=1&amp;y=2"},
        {"QuoteCannotLeaveTheAttribute", "http://x\"onmouseover=\"alert(1)",
         "<a target=\"_blank\" href=\"http://x&quot;onmouseover=&quot;alert(1)\">"
         "http://x\"onmouseover=\"alert(1)</a>"},
        {"SingleQuoteInMail", "a'b@c", "<a href=\"mailto:a&#39;b@c\">a'b@c</a>"},
        {"ScriptTagStaysText", "<script>alert(1)</script>@x",
         "&lt;script&gt;alert(1)&lt;/script&gt;@x"},
};

INSTANTIATE_TEST_SUITE_P(Messages, LinkTest, testing::ValuesIn(linkCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AlarmLinksTest, FindExFollowsTheWordRules)
{
    const QString text = QStringLiteral("xwww.a www.b\r\nq@r www.b");
    qsizetype start = 1;
    EXPECT_EQ(AlarmLinks::FindEx(start, text, QStringLiteral("WWW."), true),
              QStringLiteral("www.b"));
    EXPECT_EQ(start, 13);
    EXPECT_EQ(AlarmLinks::FindEx(start, text, QStringLiteral("www."), true),
              QStringLiteral("www.b"));
    EXPECT_EQ(AlarmLinks::FindEx(start, text, QStringLiteral("www."), true), QString());

    start = 1;
    EXPECT_EQ(AlarmLinks::FindEx(start, text, QStringLiteral("@"), false), QStringLiteral("q@r"));
    EXPECT_EQ(AlarmLinks::FindExCol(text, QStringLiteral("www."), true),
              QStringList{QStringLiteral("www.b")});
}

TEST(AlarmLinksTest, CollectionIsCaseSensitiveUnlessAsked)
{
    EXPECT_EQ(AlarmLinks::FindExCol(QStringLiteral("http://A.org http://a.org http://A.org"),
                                    QStringLiteral("http://"), true)
                      .size(),
              2);
    const QStringList col{QStringLiteral("Ab")};
    EXPECT_FALSE(AlarmLinks::IsInCol(col, QStringLiteral("ab"), false));
    EXPECT_TRUE(AlarmLinks::IsInCol(col, QStringLiteral("ab"), true));
}

TEST(HtmlTextTest, AttributeEscapesEveryQuote)
{
    EXPECT_EQ(HtmlText::attribute(QStringLiteral("a\"b'c<&>")),
              QStringLiteral("a&quot;b&#39;c&lt;&amp;&gt;"));
}

} // namespace
