#include "agent/SpeechPcmDevice.h"

#include <algorithm>
#include <cstring>

SpeechPcmDevice::SpeechPcmDevice(QObject *parent)
    : QIODevice(parent)
{
    open(QIODevice::ReadOnly);
}

void SpeechPcmDevice::append(const QByteArray &pcm)
{
    // Compact once most of the buffer has been played.
    if (m_read > 0 && m_read * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_read);
        m_read = 0;
    }
    m_buffer.append(pcm);
    emit readyRead();
}

void SpeechPcmDevice::clear()
{
    m_buffer.clear();
    m_read = 0;
}

qint64 SpeechPcmDevice::bytesAvailable() const
{
    return m_buffer.size() - m_read + QIODevice::bytesAvailable();
}

qint64 SpeechPcmDevice::readData(char *data, qint64 maxSize)
{
    const qint64 count = std::min<qint64>(maxSize, m_buffer.size() - m_read) & ~qint64(1);
    if (count <= 0)
        return 0;
    std::memcpy(data, m_buffer.constData() + m_read, size_t(count));
    m_read += count;
    return count;
}
