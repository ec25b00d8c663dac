#pragma once

#include <QByteArrayView>

// The seven mouth shapes a character draws for speech, from closed to wide open.
namespace MouthShape {
inline constexpr int Closed = 0;
inline constexpr int Narrow = 1;
inline constexpr int Medium = 2;
inline constexpr int Wide1 = 3;
inline constexpr int Wide2 = 4;
inline constexpr int Wide3 = 5;
inline constexpr int Wide4 = 6;
inline constexpr int Count = 7;

// The shape for an espeak-ng phoneme mnemonic: lips closed on p/b/m and silence, rounded
// narrow on u/w/o-like sounds, open wider the more open the vowel.
int forPhoneme(QByteArrayView phoneme);
} // namespace MouthShape
