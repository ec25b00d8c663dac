#include "agent/WavFileWriter.h"

#include <QtEndian>

namespace {

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

WavFileWriter::WavFileWriter(const QString &path, int sampleRate)
    : m_file(path)
    , m_sampleRate(sampleRate)
{
    if (m_file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        writeHeader();
}

void WavFileWriter::append(const QByteArray &pcm)
{
    if (!m_file.isOpen() || pcm.isEmpty())
        return;
    m_file.seek(44 + m_dataBytes);
    m_file.write(pcm);
    m_dataBytes += quint32(pcm.size());
    writeHeader();
    m_file.flush();
}

void WavFileWriter::writeHeader()
{
    QByteArray header;
    header.append("RIFF");
    put32(header, 36 + m_dataBytes);
    header.append("WAVEfmt ");
    put32(header, 16);
    put16(header, 1); // PCM
    put16(header, 1); // mono
    put32(header, quint32(m_sampleRate));
    put32(header, quint32(m_sampleRate) * 2);
    put16(header, 2);
    put16(header, 16);
    header.append("data");
    put32(header, m_dataBytes);
    m_file.seek(0);
    m_file.write(header);
}
