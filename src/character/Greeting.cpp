#include "character/Greeting.h"

#include "character/CharacterActions.h"

Greeting::Greeting(bool playsGreet, QString words)
    : m_playsGreet(playsGreet)
    , m_words(std::move(words))
{}

Greeting Greeting::at(const QTime &time)
{
    const int hour = time.hour();
    if (hour >= 12 && hour <= 17)
        return {true, QStringLiteral("Good Afternoon ")};
    if (hour >= 5 && hour <= 11)
        return {true, QStringLiteral("Good Morning ")};
    return {false, QStringLiteral("Good Evening ")};
}

void Greeting::perform(CharacterActions &character, const QString &userName) const
{
    if (m_playsGreet)
        character.play(QStringLiteral("greet"));
    character.speakText(m_words + userName);
    character.play(QStringLiteral("RestPose"));
}

QString Greeting::introduction(const QString &characterName, const QString &userName)
{
    return QStringLiteral("Hi I'm ") + characterName +
           QStringLiteral(" \\pau=1000\\ How are you doing ") + userName + QStringLiteral(" ?");
}
