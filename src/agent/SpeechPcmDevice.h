#pragma once

#include <QByteArray>
#include <QIODevice>

// The audio sink pulls speech from here; bytes already played are dropped.
class SpeechPcmDevice final : public QIODevice
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechPcmDevice)

public:
    explicit SpeechPcmDevice(QObject *parent = nullptr);

    void append(const QByteArray &pcm);
    void clear();
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_buffer;
    qsizetype m_read = 0;
};
