#pragma once

#include "agent/CharacterLoadResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One kind of character file. The loader shows each format the head of a file and lets the
// first that recognises it decode the whole file, so formats are told apart by content,
// never by the file name.
class CharacterFormat
{
public:
    virtual ~CharacterFormat() = default;

    virtual QString formatName() const = 0;
    // True when `head` (the first bytes of a file, maybe fewer than asked for) is this format.
    virtual bool recognises(QByteArrayView head) const = 0;
    // Decodes a whole file. Must never crash on hostile bytes: any fault is an error.
    virtual CharacterLoadResult read(const QByteArray &bytes) const = 0;
};
