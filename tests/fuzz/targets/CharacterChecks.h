#pragma once

#include "agent/CharacterData.h"

#include <QByteArray>

// What the character targets check on every character that loads.
namespace Fuzz {

// The loaded model keeps its own promises: every layer names a part, every jump a frame,
// every state an animation, and a frame renders into an image of the character's size.
void checkCharacter(const CharacterData &character, const QByteArray &input);

} // namespace Fuzz
