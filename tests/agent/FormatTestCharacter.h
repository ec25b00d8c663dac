#pragma once

#include "agent/CharacterData.h"

#include <memory>

// A small hand-made character for format and renderer tests: a 40 x 40 frame, a red square
// part, a blue closed mouth and a green wide mouth, and animations that use every field.
namespace FormatTestCharacter {

std::shared_ptr<CharacterData> make();
// A 10 x 10 square of `color` at the top left of a 40 x 40 canvas.
QByteArray squareSvg(const char *color);

} // namespace FormatTestCharacter
