#pragma once

#include "agent/SpeechScript.h"

#include <QObject>

// Where a character's speech goes: the running component talks to it without knowing the
// engine or the sound device behind it.
class SpeechPort : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechPort)

public:
    using QObject::QObject;
    ~SpeechPort() override = default;

    virtual void startSpeech(const SpeechScript &script) = 0;
    virtual void stopSpeech() = 0;

signals:
    void revealed(int shownCharacters);
    void mouthChanged(int shape);
    void finished();
};
