#include "agent/MouthShape.h"

namespace MouthShape {

int forPhoneme(QByteArrayView phoneme)
{
    if (phoneme.isEmpty() || phoneme.front() == '_')
        return Closed;
    const char first = phoneme.front();
    switch (first) {
    case 'p':
    case 'b':
    case 'm':
        return Closed;
    case 'f':
    case 'v':
    case 'w':
    case 'u':
    case 'U':
    case 'o':
        return Narrow;
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
        return Medium;
    case 'e':
    case 'E':
    case '@':
    case '3':
        return Wide1;
    case 'V':
    case 'O':
        return Wide2;
    case 'A':
        return Wide3;
    case 'a':
        return phoneme.size() > 1 && phoneme.at(1) == 'I' ? Wide3 : Wide4;
    default:
        return Medium;
    }
}

} // namespace MouthShape
