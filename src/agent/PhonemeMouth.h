#pragma once

#include "agent/CharacterData.h"

#include <QByteArrayView>

namespace PhonemeMouth {

// The mouth shape for an espeak-ng phoneme mnemonic: lips closed on p/b/m and silence,
// rounded narrow on u/w/o-like sounds, open wider the more open the vowel.
MouthShape shapeFor(QByteArrayView phoneme);

} // namespace PhonemeMouth
