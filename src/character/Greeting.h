#pragma once

#include <QString>
#include <QTime>

class CharacterActions;

// The greeting the main window speaks when it loads, chosen by the hour.
class Greeting final
{
public:
    static Greeting at(const QTime &time);

    // Morning and afternoon greetings wave; the evening one is said standing still.
    bool playsGreet() const { return m_playsGreet; }
    // "Good Morning ", "Good Afternoon " or "Good Evening " (the name follows).
    QString words() const { return m_words; }

    // What a newly chosen default character says about itself.
    static QString introduction(const QString &characterName, const QString &userName);

    // [greet], speak the words and the user's name, then the rest pose.
    void perform(CharacterActions &character, const QString &userName) const;

private:
    Greeting(bool playsGreet, QString words);

    bool m_playsGreet;
    QString m_words;
};
