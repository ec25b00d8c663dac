#pragma once

#include "agent/CharacterData.h"

#include <QString>
#include <initializer_list>
#include <memory>
#include <ostream>

// A small character built in code with known frame timings, for queue and player tests.
std::shared_ptr<CharacterData> makeRuntimeTestCharacter();

// Adds an animation of frames with these durations; every frame can speak.
void addTestAnimation(CharacterData &character, const QString &name,
                      std::initializer_list<int> durations, const QString &returnAnimation = {},
                      bool loops = false);

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
