#include "tools/midi/CMidiWriter.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {
std::string bigEndian(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}
} // namespace

CMidiWriter::CMidiWriter() = default;

CMidiWriter::~CMidiWriter()
{
    if (m_file)
        m_file->cancelWriting();
}

bool CMidiWriter::open(const std::string& path)
{
    if (m_file)
        m_file->cancelWriting();
    m_file = std::make_unique<QSaveFile>(QString::fromStdString(path));
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return false;
    }
    m_note = 59;
    m_velocity = 127;
    m_sounding = false;
    m_pending = 0;
    m_trackBytes = 4;
    m_lengthPosition = -1;
    return true;
}

std::uint32_t CMidiWriter::tempoMicroseconds(double bpm)
{
    // Written as "not faster than" so that NaN lands on the slowest tempo too.
    if (!(bpm > kSlowestBpm))
        return kSlowestTempo;
    const double us = std::floor(60000000.0 / bpm);
    return us < 1.0 ? 1u : static_cast<std::uint32_t>(std::min(us, double(kSlowestTempo)));
}

bool CMidiWriter::header(int ticksPerQuarter, double bpm)
{
    if (!m_file || ticksPerQuarter < 1 || ticksPerQuarter > 0x7FFF)
        return false;
    std::string bytes = "MThd" + bigEndian(6, 4) + bigEndian(1, 2) + bigEndian(2, 2) +
                        bigEndian(static_cast<std::uint32_t>(ticksPerQuarter), 2);
    bytes += "MTrk" + bigEndian(19, 4);
    bytes += std::string("\x00\xFF\x51\x03", 4) + bigEndian(tempoMicroseconds(bpm), 3);
    bytes += std::string("\x00\xFF\x58\x04\x04\x02\x18\x08", 8);
    bytes += std::string("\x00\xFF\x2F\x00", 4);
    bytes += "MTrk";
    put(bytes);
    m_lengthPosition = m_file->pos();
    put(bigEndian(0, 4));
    m_trackBytes = 4; // the closing end-of-track event, counted in advance
    return true;
}

std::string CMidiWriter::variableLength(std::uint32_t value)
{
    std::string out(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

void CMidiWriter::put(const std::string& bytes)
{
    m_file->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void CMidiWriter::putByte(int byte)
{
    const char c = static_cast<char>(byte & 0xFF);
    m_file->write(&c, 1);
    ++m_trackBytes;
}

void CMidiWriter::putDelta(std::int64_t delta)
{
    std::int64_t total = std::max<std::int64_t>(0, delta) + m_pending;
    m_pending = 0;
    // A silence longer than one delta can say is carried by empty text
    // events, so that the file stays readable instead of overflowing the
    // four-byte form.
    while (total > kLongestDelta) {
        const std::string filler = variableLength(kLongestDelta) + std::string("\xFF\x01\x00", 3);
        put(filler);
        m_trackBytes += static_cast<std::uint32_t>(filler.size());
        total -= kLongestDelta;
    }
    const std::string v = variableLength(static_cast<std::uint32_t>(total));
    put(v);
    m_trackBytes += static_cast<std::uint32_t>(v.size());
}

bool CMidiWriter::noteOn(std::int64_t delta, int note, int velocity)
{
    if (!m_file || note < 0 || note > 127)
        return false;
    velocity = velocity <= 0 ? 1 : std::min(velocity, 127);
    if (m_sounding) {
        if (note == m_note) {
            m_velocity = velocity;
            addDelay(delta);
            return true;
        }
        noteOff(delta);
        delta = 0;
    }
    putDelta(delta);
    putByte(0x90);
    putByte(note);
    putByte(velocity);
    m_note = note;
    m_velocity = velocity;
    m_sounding = true;
    return true;
}

bool CMidiWriter::noteOff(std::int64_t delta)
{
    if (!m_file)
        return false;
    if (!m_sounding)
        return addDelay(delta);
    putDelta(delta);
    putByte(0x90);
    putByte(m_note);
    putByte(0x00);
    m_sounding = false;
    return true;
}

bool CMidiWriter::pitchBend(std::int64_t delta, double bend)
{
    if (!m_file)
        return false;
    const double v = std::trunc(bend * 8191.0);
    if (!(v >= -8191.0 && v <= 8191.0))
        return false;
    const int value = static_cast<int>(v) + 8192;
    putDelta(delta);
    putByte(0xE0);
    putByte(value & 0x7F);
    putByte((value >> 7) & 0x7F);
    return true;
}

bool CMidiWriter::controller(std::int64_t delta, int number, int value)
{
    if (!m_file || number < 0 || number > 127 || value < 0 || value > 127)
        return false;
    putDelta(delta);
    putByte(0xB0);
    putByte(number);
    putByte(value);
    return true;
}

bool CMidiWriter::addDelay(std::int64_t ticks)
{
    if (!m_file)
        return false;
    m_pending = std::max<std::int64_t>(0, m_pending + ticks);
    return true;
}

bool CMidiWriter::close()
{
    if (!m_file)
        return false;
    put(std::string("\x00\xFF\x2F\x00", 4));
    bool ok = true;
    if (m_lengthPosition >= 0) {
        ok = m_file->seek(m_lengthPosition);
        put(bigEndian(m_trackBytes, 4));
    }
    ok = m_file->commit() && ok;
    m_file.reset();
    m_pending = 0;
    return ok;
}
