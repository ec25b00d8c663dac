#pragma once

#include "agent/CharacterFormat.h"

// The program's own character file format (docs/character-format.md): a 16-byte header
// (magic, version, payload length) and a zlib-compressed JSON document holding SVG parts
// and animations of transformed parts.
class CharacterFileFormat final : public CharacterFormat
{
public:
    static constexpr quint16 Version = 1;
    static constexpr int HeaderBytes = 16;

    // Hard limits: a file beyond any of them is refused with an error.
    static constexpr qint64 MaxJsonBytes = 16 * 1024 * 1024;
    static constexpr int MaxParts = 512;
    static constexpr qint64 MaxPartSvgBytes = 1024 * 1024;
    static constexpr qint64 MaxPartSvgBytesTotal = 8 * 1024 * 1024;
    static constexpr int MaxAnimations = 1024;
    static constexpr int MaxFramesPerAnimation = 4096;
    // What a whole file may ask for: a small file can announce far more than its bytes
    // suggest (empty frames pack into almost nothing), and every frame costs memory to
    // hold and pixels to draw.
    static constexpr qint64 MaxFramesTotal = 32'768;
    static constexpr qint64 MaxFramePixelsTotal = 512LL * 1024 * 1024;
    static constexpr int MaxLayersPerFrame = 128;
    static constexpr qint64 MaxLayersTotal = 500'000;
    static constexpr int MaxBranchesPerFrame = 16;
    static constexpr int MaxFrameMs = 60'000;
    static constexpr int MaxFrameSide = 2048;
    static constexpr int MaxNameLength = 256;

    QString formatName() const override;
    bool recognises(QByteArrayView head) const override;
    CharacterLoadResult read(const QByteArray &bytes) const override;

    // Encodes a character; read(write(c)) gives back an equal character.
    static QByteArray write(const CharacterData &character);
    // The JSON document inside a file (for tools and tests).
    static QByteArray toJson(const CharacterData &character);
    // Builds a file around a JSON document (tests use it to make hostile files).
    static QByteArray wrap(const QByteArray &json, quint16 version = Version);
};
