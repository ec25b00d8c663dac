#include "agent/SpeechTags.h"

#include <QSet>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Settings
{
    int volume = 65535;
    int speed = 0;
    int pitch = 0;
    bool emphasis = false;
    bool whisper = false;
    bool monotone = false;
};

struct Tag
{
    QString name;          // lower case
    QStringList arguments; // quoted arguments, or the one bare value
    qsizetype end = 0;     // index after the closing backslash
};

// Reads `"text"` at `pos`; returns the text and moves `pos` past the closing quote.
std::optional<QString> readQuoted(const QString &text, qsizetype &pos)
{
    if (pos >= text.size() || text.at(pos) != u'"')
        return std::nullopt;
    const qsizetype close = text.indexOf(u'"', pos + 1);
    if (close < 0)
        return std::nullopt;
    QString value = text.mid(pos + 1, close - pos - 1);
    pos = close + 1;
    return value;
}

// A tag starts at the backslash at `start`: a name of letters, optionally "=" and a value
// or quoted arguments, and a closing backslash.
std::optional<Tag> readTag(const QString &text, qsizetype start)
{
    qsizetype pos = start + 1;
    while (pos < text.size() && text.at(pos).isLetter())
        ++pos;
    if (pos == start + 1)
        return std::nullopt;
    Tag tag;
    tag.name = text.mid(start + 1, pos - start - 1).toLower();
    if (pos < text.size() && text.at(pos) == u'=') {
        ++pos;
        if (pos < text.size() && text.at(pos) == u'"') {
            while (true) {
                std::optional<QString> argument = readQuoted(text, pos);
                if (!argument)
                    return std::nullopt;
                tag.arguments << *argument;
                if (pos < text.size() && text.at(pos) == u'=')
                    ++pos;
                else
                    break;
            }
        } else {
            const qsizetype close = text.indexOf(u'\\', pos);
            if (close < 0)
                return std::nullopt;
            tag.arguments << text.mid(pos, close - pos).trimmed();
            pos = close;
        }
    }
    if (pos >= text.size() || text.at(pos) != u'\\')
        return std::nullopt;
    tag.end = pos + 1;
    return tag;
}

std::optional<int> number(const Tag &tag)
{
    if (tag.arguments.size() != 1)
        return std::nullopt;
    bool ok = false;
    const qlonglong value = tag.arguments.first().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return int(std::clamp<qlonglong>(value, 0, 1'000'000));
}

class Builder
{
public:
    void addText(const QString &spoken, const QString &shown)
    {
        if (spoken.isEmpty() && shown.isEmpty())
            return;
        if (!m_openText || m_script.pieces.isEmpty()) {
            SpeechPiece piece = pieceWith(SpeechPiece::Kind::Text);
            piece.emphasis = m_settings.emphasis;
            m_settings.emphasis = false;
            m_script.pieces << piece;
            m_openText = true;
        }
        SpeechPiece &piece = m_script.pieces.last();
        piece.spoken += spoken;
        piece.shown += shown;
        m_shownLength += shown.size();
    }

    // A mapped text stands alone so its proportional reveal stays within it.
    void addMapped(const QString &spoken, const QString &shown)
    {
        m_openText = false;
        addText(spoken, shown);
        m_openText = false;
    }

    void addPause(int ms)
    {
        SpeechPiece piece = pieceWith(SpeechPiece::Kind::Pause);
        piece.value = ms;
        m_script.pieces << piece;
        m_openText = false;
    }

    void addMark(int mark)
    {
        SpeechPiece piece = pieceWith(SpeechPiece::Kind::Mark);
        piece.value = mark;
        m_script.pieces << piece;
        m_openText = false;
    }

    Settings &settings()
    {
        m_openText = false;
        return m_settings;
    }

    SpeechScript take() { return std::move(m_script); }

private:
    SpeechPiece pieceWith(SpeechPiece::Kind kind) const
    {
        SpeechPiece piece;
        piece.kind = kind;
        piece.volume = m_settings.volume;
        piece.speed = m_settings.speed;
        piece.pitch = m_settings.pitch;
        piece.whisper = m_settings.whisper;
        piece.monotone = m_settings.monotone;
        piece.shownStart = int(m_shownLength);
        return piece;
    }

    SpeechScript m_script;
    Settings m_settings;
    qsizetype m_shownLength = 0;
    bool m_openText = false;
};

// Only the component's own tag names count, so a path like C:\Users\x reads as written.
const QSet<QString> &knownTags()
{
    static const QSet<QString> names{u"vol"_s, u"pau"_s,  u"spd"_s, u"pit"_s, u"mrk"_s,
                                     u"emp"_s, u"chr"_s,  u"map"_s, u"rst"_s, u"ctx"_s,
                                     u"lst"_s, u"rpit"_s, u"rspd"_s};
    return names;
}

void apply(const Tag &tag, Builder &out)
{
    const std::optional<int> value = number(tag);
    if (tag.name == u"vol") {
        if (value)
            out.settings().volume = std::min(*value, 65535);
    } else if (tag.name == u"spd") {
        if (value)
            out.settings().speed = std::clamp(*value, SpeechTags::MinSpeed, SpeechTags::MaxSpeed);
    } else if (tag.name == u"pit") {
        if (value)
            out.settings().pitch = std::clamp(*value, SpeechTags::MinPitch, SpeechTags::MaxPitch);
    } else if (tag.name == u"pau") {
        if (value)
            out.addPause(std::min(*value, SpeechTags::MaxPauseMs));
    } else if (tag.name == u"mrk") {
        if (value)
            out.addMark(*value);
    } else if (tag.name == u"emp") {
        out.settings().emphasis = true;
    } else if (tag.name == u"chr") {
        if (tag.arguments.size() == 1) {
            const QString style = tag.arguments.first().toLower();
            Settings &settings = out.settings();
            settings.whisper = style == u"whisper";
            settings.monotone = style == u"monotone";
        }
    } else if (tag.name == u"map") {
        if (tag.arguments.size() == 2)
            out.addMapped(tag.arguments.at(0), tag.arguments.at(1));
    } else if (tag.name == u"rst") {
        out.settings() = Settings{};
    }
}

} // namespace

SpeechScript SpeechTags::parse(const QString &text)
{
    Builder out;
    QString run;
    const auto flush = [&] {
        out.addText(run, run);
        run.clear();
    };
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        if (c != u'\\') {
            run += c;
            ++pos;
            continue;
        }
        if (pos + 1 < text.size() && text.at(pos + 1) == u'\\') {
            run += u'\\';
            pos += 2;
            continue;
        }
        const std::optional<Tag> tag = readTag(text, pos);
        if (!tag || !knownTags().contains(tag->name)) {
            run += c;
            ++pos;
            continue;
        }
        flush();
        apply(*tag, out);
        pos = tag->end;
    }
    flush();
    return out.take();
}
