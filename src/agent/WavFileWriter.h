#pragma once

#include <QFile>
#include <QString>

// Appends mono 16-bit PCM to a WAV file, keeping the header's sizes right after every
// write so the file is valid whenever someone reads it.
class WavFileWriter final
{
public:
    WavFileWriter(const QString &path, int sampleRate);
    WavFileWriter(const WavFileWriter &) = delete;
    WavFileWriter &operator=(const WavFileWriter &) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    void append(const QByteArray &pcm);

private:
    void writeHeader();

    QFile m_file;
    int m_sampleRate;
    quint32 m_dataBytes = 0;
};
