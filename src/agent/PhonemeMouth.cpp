#include "agent/PhonemeMouth.h"

namespace PhonemeMouth {

MouthShape shapeFor(QByteArrayView phoneme)
{
    if (phoneme.isEmpty() || phoneme.front() == '_')
        return MouthShape::Closed;
    const char first = phoneme.front();
    switch (first) {
    case 'p':
    case 'b':
    case 'm':
        return MouthShape::Closed;
    case 'f':
    case 'v':
    case 'w':
    case 'u':
    case 'U':
    case 'o':
        return MouthShape::Narrow;
    case 'i':
    case 'I':
    case 'j':
    case 's':
    case 'z':
    case 'S':
    case 'Z':
    case 't':
    case 'd':
    case 'n':
    case 'l':
    case 'T':
    case 'D':
        return MouthShape::Medium;
    case 'e':
    case 'E':
    case '@':
    case '3':
        return MouthShape::Wide1;
    case 'V':
    case 'O':
        return MouthShape::Wide2;
    case 'A':
        return MouthShape::Wide3;
    case 'a':
        return phoneme.size() > 1 && phoneme.at(1) == 'I' ? MouthShape::Wide3 : MouthShape::Wide4;
    default:
        return MouthShape::Medium;
    }
}

} // namespace PhonemeMouth
