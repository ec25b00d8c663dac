#include "character/TourScript.h"

#include "base/TextDecoding.h"
#include "character/CharacterActions.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const QString MoveCommand = QStringLiteral("MOVE@");

} // namespace

double TourScript::percent(const QString &field)
{
    static const QRegularExpression leadingNumber(
            QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const QRegularExpressionMatch match = leadingNumber.match(field);
    if (!match.hasMatch())
        return 0;
    bool ok = false;
    const double value = match.captured(0).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

QList<TourScript::Step> TourScript::parse(const QString &script)
{
    QList<Step> steps;
    for (const QString &line : TextDecoding::splitLines(script)) {
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(u',');
        Step step;
        if (fields.at(0) == MoveCommand) {
            if (fields.size() < 3)
                continue;
            step.kind = Step::Kind::Move;
            step.xPercent = percent(fields.at(1));
            step.yPercent = percent(fields.at(2));
        } else {
            step.text = fields.at(0);
            if (fields.size() > 1)
                step.animation = fields.at(1).trimmed();
        }
        steps << step;
    }
    return steps;
}

std::optional<QList<TourScript::Step>> TourScript::load(const QString &path)
{
    const std::optional<QString> script = TextDecoding::readFile(path);
    if (!script)
        return std::nullopt;
    return parse(*script);
}

QPoint TourScript::target(const Step &step, const QSize &screen)
{
    // Absurd percentages must not overflow the pixel type; the character clamps on screen.
    const auto pixels = [](double percent, int extent) {
        const double value = std::clamp(percent / 100.0 * extent, -1e6, 1e6);
        return static_cast<int>(std::lround(value));
    };
    return {pixels(step.xPercent, screen.width()), pixels(step.yPercent, screen.height())};
}

void TourScript::perform(const QList<Step> &steps, CharacterActions &character, const QSize &screen)
{
    for (const Step &step : steps) {
        if (step.kind == Step::Kind::Move) {
            character.moveTo(target(step, screen));
            continue;
        }
        if (!step.animation.isEmpty())
            character.play(step.animation);
        character.speakText(step.text);
    }
}
