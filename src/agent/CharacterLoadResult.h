#pragma once

#include "agent/CharacterData.h"

#include <QString>
#include <memory>

// A decoded character or the reason why there is none.
struct CharacterLoadResult
{
    std::shared_ptr<const CharacterData> character;
    QString error; // empty on success

    explicit operator bool() const { return character != nullptr; }

    static CharacterLoadResult failure(const QString &error) { return {nullptr, error}; }
};
