#include "kinds/sounds/CMVT_WavMemory.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CRegularFile.h"
#include "core/CSectionCoder.h"
#include "media/audio/AudioFileName.h"
#include "media/audio/CSampleCodec.h"
#include "media/audio/CWavReader.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {
bool isPlayableBits(int bits) { return bits == 8 || bits == 16 || bits == 32; }

// Bytes of one frame, or 0 when bits and channels cannot describe stored
// samples at all (so that frames x channels x bits / 8 is a whole number of
// frames whenever it is not 0).
std::int64_t frameBytes(std::int32_t bits, std::int32_t channels)
{
    if (bits <= 0 || bits % 8 != 0 || channels <= 0)
        return 0;
    return static_cast<std::int64_t>(channels) * (bits / 8);
}

float loadFloat(const char* p)
{
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

void storeFloat(char* p, float f) { std::memcpy(p, &f, sizeof f); }

bool readWholeFile(const std::string& path, QByteArray& bytes)
{
    std::optional<QByteArray> read = CRegularFile::read(path);
    if (!read)
        return false;
    bytes = std::move(*read);
    return true;
}
} // namespace

std::unique_ptr<CResourceItem> CMVT_WavMemory::createDefault() const
{
    return std::make_unique<CMVT_WavMemory>();
}

void CMVT_WavMemory::clear()
{
    m_samples = QByteArray();
    m_oggFile = QByteArray();
    ++m_oggRevision;
    m_oggInfo = COggStreamInfo();
    m_frames = 0;
    m_ogg = 0;
}

std::string CMVT_WavMemory::idFromPath(const std::string& path)
{
    QString name = audioFileName(path);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(name).completeBaseName().toLocal8Bit().toStdString();
}

int CMVT_WavMemory::loadFromFile(const std::string& path)
{
    clear();
    const QString suffix = QFileInfo(audioFileName(path)).suffix().toUpper();
    QByteArray bytes;
    if (!readWholeFile(path, bytes))
        return 0;
    int ok = 0;
    if (suffix == QLatin1String("OGG"))
        ok = loadOgg(bytes);
    else if (suffix == QLatin1String("WAV"))
        ok = loadWav(bytes);
    else
        ok = loadRawFloat(bytes);
    if (!ok)
        clear();
    return ok;
}

int CMVT_WavMemory::reloadFromFile(const std::string& path)
{
    const int ok = loadFromFile(path);
    if (id() == kNewId)
        setId(idFromPath(path));
    return ok;
}

int CMVT_WavMemory::loadOgg(const QByteArray& file)
{
    COggStreamInfo info;
    if (file.isEmpty() || !COggVorbisDecoder::readInfo(file, info))
        return 0;
    m_ogg = 1;
    m_oggFile = file;
    ++m_oggRevision;
    m_oggInfo = info;
    return 1;
}

int CMVT_WavMemory::loadWav(const QByteArray& file)
{
    const auto layout = CWavReader::locate(file, file.size(), true);
    if (!layout || !CWavReader::isReadable(*layout))
        return 0;
    const std::uint32_t frames = layout->dataSize / layout->blockAlign;
    if (frames == 0 || frames > static_cast<std::uint32_t>(INT32_MAX) / layout->channels / 4)
        return 0;
    const char* data = file.constData() + layout->dataOffset;
    const std::int64_t samples = static_cast<std::int64_t>(frames) * layout->channels;
    const CSampleEncoding encoding = *layout->encoding;
    QByteArray stored;
    int bits = layout->bits;
    try {
        if (encoding == CSampleEncoding::SystemScale && (bits == 8 || bits == 16)) {
            stored = QByteArray(data, static_cast<qsizetype>(samples * (bits / 8)));
        } else if (encoding == CSampleEncoding::SystemScale && bits == 32) {
            // This system's own 32-bit files hold floats on the +/-32767 scale.
            stored = QByteArray(static_cast<qsizetype>(samples * 4), Qt::Uninitialized);
            for (std::int64_t i = 0; i < samples; ++i)
                storeFloat(stored.data() + 4 * i, loadFloat(data + 4 * i) * kInverse32767);
        } else if (encoding == CSampleEncoding::UnitFloat && bits == 32) {
            stored = QByteArray(data, static_cast<qsizetype>(samples * 4));
        } else {
            // 64-bit floats and 32-bit integers have no stored form of their
            // own in an item: they become 32-bit floats, which play.
            const auto* in = reinterpret_cast<const unsigned char*>(data);
            const std::size_t step = CSampleCodec::bytesPerSample(bits);
            stored = QByteArray(static_cast<qsizetype>(samples * 4), Qt::Uninitialized);
            for (std::int64_t i = 0; i < samples; ++i)
                storeFloat(stored.data() + 4 * i,
                           static_cast<float>(CSampleCodec::decode(in + static_cast<std::size_t>(i) * step, bits, encoding)));
            bits = 32;
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    m_samples = stored;
    m_frames = static_cast<std::int32_t>(frames);
    m_bits = bits;
    m_channels = layout->channels;
    m_rate = static_cast<std::int32_t>(std::min<std::uint32_t>(layout->sampleRate, INT32_MAX));
    return 1;
}

int CMVT_WavMemory::loadRawFloat(const QByteArray& file)
{
    const qsizetype frames = file.size() / 8;
    if (frames <= 0 || frames > INT32_MAX)
        return 0;
    QByteArray stored(frames * 8, Qt::Uninitialized);
    for (qsizetype i = 0; i < frames * 2; ++i)
        storeFloat(stored.data() + 4 * i, loadFloat(file.constData() + 4 * i) * 2.0f);
    m_samples = stored;
    m_frames = static_cast<std::int32_t>(frames);
    // The raw format is 32-bit float stereo; keeping another item's format
    // would misread these bytes.
    m_bits = 32;
    m_channels = 2;
    m_rate = kDefaultRate;
    return 1;
}

int CMVT_WavMemory::setSamples(int bits, int channels, int rate, const QByteArray& bytes)
{
    const std::int64_t perFrame = frameBytes(bits, channels);
    if (!isPlayableBits(bits) || perFrame == 0 || bytes.size() % perFrame != 0 || bytes.size() / perFrame > INT32_MAX)
        return 0;
    clear();
    m_bits = bits;
    m_channels = channels;
    m_rate = rate;
    m_frames = static_cast<std::int32_t>(bytes.size() / perFrame);
    m_samples = m_frames > 0 ? bytes : QByteArray();
    return 1;
}

int CMVT_WavMemory::setOggFile(const QByteArray& bytes)
{
    COggStreamInfo info;
    if (bytes.isEmpty() || !COggVorbisDecoder::readInfo(bytes, info))
        return 0;
    clear();
    m_ogg = 1;
    m_oggFile = bytes;
    ++m_oggRevision;
    m_oggInfo = info;
    return 1;
}

int CMVT_WavMemory::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    coder.codeRecordHeader(ar);
    if (ar.isLoading())
        clear();
    coder.codeInt(ar, m_ogg);
    if (ar.isLoading() && m_ogg != 0)
        m_ogg = 1;  // any non-zero flag means Ogg; it is written back as 1

    if (m_ogg) {
        std::int32_t length = static_cast<std::int32_t>(m_oggFile.size());
        coder.codeInt(ar, length);
        if (!ar.isLoading())
            return coder.writeBlock(ar, m_oggFile.constData(), static_cast<std::size_t>(m_oggFile.size()));
        if (length > 0) {
            ar.requireRemaining(length);
            QByteArray bytes(length, Qt::Uninitialized);
            coder.codeBlock(ar, bytes.data(), static_cast<std::size_t>(length));
            m_oggFile = bytes;
            ++m_oggRevision;
            // A stream whose headers no longer read stays stored as it is:
            // the bytes are the user's, only the summary shows zeros.
            COggVorbisDecoder::readInfo(m_oggFile, m_oggInfo);
        }
        return 1;
    }
    serializeSamples(ar, coder);
    return 1;
}

void CMVT_WavMemory::serializeSamples(CArchive& ar, CSectionCoder& coder)
{
    if (!ar.isLoading()) {
        // An item without data is written with 0 frames, so that a reader
        // never looks for a byte count that is not there.
        std::int32_t frames = m_samples.isEmpty() ? 0 : m_frames;
        coder.codeInt(ar, frames);
        coder.codeInt(ar, m_bits);
        coder.codeInt(ar, m_channels);
        coder.codeInt(ar, m_rate);
        if (frames <= 0)
            return;
        std::int32_t count = static_cast<std::int32_t>(m_samples.size());
        coder.codeInt(ar, count);
        coder.writeBlock(ar, m_samples.constData(), static_cast<std::size_t>(m_samples.size()));
        return;
    }

    std::int32_t frames = 0;
    coder.codeInt(ar, frames);
    coder.codeInt(ar, m_bits);
    coder.codeInt(ar, m_channels);
    coder.codeInt(ar, m_rate);
    if (frames <= 0)
        return;
    std::int32_t count = 0;
    coder.codeInt(ar, count);
    ar.requireRemaining(count);  // also refuses a negative count
    QByteArray bytes(count, Qt::Uninitialized);
    coder.codeBlock(ar, bytes.data(), static_cast<std::size_t>(count));

    // The stored count is what the file holds; the frame count is only a
    // claim about it. Keep the whole frames the bytes really contain, so
    // that frames x channels x bits / 8 never exceeds the data.
    const std::int64_t perFrame = frameBytes(m_bits, m_channels);
    if (perFrame == 0)
        return;
    const std::int64_t held = std::min<std::int64_t>(frames, count / perFrame);
    if (held <= 0)
        return;
    bytes.truncate(static_cast<qsizetype>(held * perFrame));
    m_samples = bytes;
    m_frames = static_cast<std::int32_t>(held);
}

double CMVT_WavMemory::sampleAt(std::int64_t frame, int channel) const
{
    if (m_ogg || frame < 0 || frame >= m_frames || channel < 0 || channel >= m_channels || !isPlayableBits(m_bits))
        return 0.0;
    const std::int64_t index = frame * m_channels + channel;
    const char* p = m_samples.constData() + index * (m_bits / 8);
    switch (m_bits) {
    case 8:
        return static_cast<std::int8_t>(static_cast<std::uint8_t>(*p) ^ 0x7F) / 127.0;
    case 16: {
        std::int16_t v;
        std::memcpy(&v, p, sizeof v);
        return v / 32767.0;
    }
    default: {
        const float f = loadFloat(p);
        return std::isnan(f) ? 0.0 : f;  // a NaN in a file is silence, not a value
    }
    }
}

std::string CMVT_WavMemory::specsText() const
{
    char text[160];
    if (m_ogg) {
        if (m_oggFile.isEmpty())
            return "OGG, Empty !";
        std::snprintf(text, sizeof text, "OGG, %lld Bytes (%d Channels, %d Hz)", static_cast<long long>(m_oggFile.size()),
                      m_oggInfo.channels, m_oggInfo.rate);
        return text;
    }
    if (m_samples.isEmpty())
        return "WAV, Empty !";
    const long long bytes = static_cast<long long>(m_frames) * m_bits * m_channels / 8;
    std::snprintf(text, sizeof text, "WAV, %d Data, %lld Bytes (%d Bits, %d Channels, %d Hz)", m_frames, bytes, m_bits,
                  m_channels, m_rate);
    return text;
}

std::string CMVT_WavMemory::oggSummaryText() const
{
    char text[200];
    std::snprintf(text, sizeof text, "\n\nVersion: %d\nNb Channels: %d\nRate: %d\nBitrate Nominal: %d", m_oggInfo.version,
                  m_oggInfo.channels, m_oggInfo.rate, m_oggInfo.bitrateNominal);
    return text;
}

void CMVT_WavMemory::drawWaveform(QPainter& painter, const QRect& cell, bool swapChannels,
                                  const WaveColors& colors) const
{
    const int half = cell.height() / 2;
    const int centre = cell.top() + half;
    painter.save();
    painter.setPen(colors.centreLine);
    painter.drawLine(cell.left(), centre, cell.right(), centre);
    painter.setPen(Qt::NoPen);
    if (m_ogg) {
        // The stream is decoded once for its picture, and drawn from its
        // outline at any width.
        const CWaveEnvelope& envelope = oggEnvelope();
        drawColumns(painter, cell, envelope.frames(), 1, swapChannels, colors,
                    [&](std::int64_t first, std::int64_t last, int channel) {
                        return envelope.range(channel, first, last);
                    });
    } else if (!m_samples.isEmpty() && isPlayableBits(m_bits)) {
        drawColumns(painter, cell, m_frames, m_channels > 1 ? 1 : 0, swapChannels, colors,
                    [&](std::int64_t first, std::int64_t last, int channel) {
                        // Every frame, or every (range / 100)-th of a long range.
                        const std::int64_t range = last - first + 1;
                        const std::int64_t step = range > 110 ? range / 100 : 1;
                        double low = sampleAt(first, channel);
                        double high = low;
                        for (std::int64_t f = first + step; f <= last; f += step) {
                            const double v = sampleAt(f, channel);
                            low = std::min(low, v);
                            high = std::max(high, v);
                        }
                        return std::pair{low, high};
                    });
    }
    painter.restore();
}

void CMVT_WavMemory::drawColumns(QPainter& painter, const QRect& cell, std::int64_t frames, int second,
                                 bool swapChannels, const WaveColors& colors, const ColumnRange& rangeOf)
{
    const int width = cell.width();
    if (width <= 0 || frames <= 0)
        return;
    const int half = cell.height() / 2;
    const int centre = cell.top() + half;
    // A mono sound draws its one channel twice (second is 0).
    const int back = swapChannels ? second : 0;
    const int front = swapChannels ? 0 : second;
    const QColor& backColor = swapChannels ? colors.secondChannel : colors.firstChannel;
    const QColor& frontColor = swapChannels ? colors.firstChannel : colors.secondChannel;
    std::int64_t previous = -1;
    for (int x = 0; x < width; ++x) {
        const std::int64_t last = static_cast<std::int64_t>(x) * frames / width;
        // When the cell is wider than the sound, a column shows the frame under it.
        const std::int64_t first = std::min(previous + 1, last);
        previous = last;
        const auto bar = [&](std::pair<double, double> lowHigh, const QColor& colour) {
            // Floats beyond full scale stay inside the cell.
            const double low = std::clamp(lowHigh.first, -1.0, 1.0);
            const double high = std::clamp(lowHigh.second, -1.0, 1.0);
            const int y = centre + static_cast<int>(low * half);
            const int h = static_cast<int>((high - low) * half) + 1;
            painter.fillRect(QRect(cell.left() + x, y, 1, h), colour);
        };
        bar(rangeOf(first, last, back), backColor);
        bar(rangeOf(first, last, front), frontColor);
    }
}

const CWaveEnvelope& CMVT_WavMemory::oggEnvelope() const
{
    if (!m_envelope || m_envelopeRevision != m_oggRevision) {
        m_envelope = std::make_shared<const CWaveEnvelope>(CWaveEnvelope::fromOgg(m_oggFile));
        m_envelopeRevision = m_oggRevision;
    }
    return *m_envelope;
}

void CMVT_WavMemory::drawOggSummary(QPainter& painter, const QRect& cell, const QColor& markColor,
                                    const QColor& textColor) const
{
    if (cell.width() <= 0 || cell.height() <= 0)
        return;
    painter.save();
    QFont mark(QStringLiteral("Arial"));
    mark.setWeight(QFont::Black);
    mark.setPixelSize(cell.height());
    // Characters one fifth of the cell wide on average: stretch the face to it.
    const qreal natural = QFontMetricsF(mark).averageCharWidth();
    if (natural > 0) {
        const qreal stretch = 100.0 * (cell.width() / 5.0) / natural;
        mark.setStretch(static_cast<int>(std::clamp<qreal>(std::round(stretch), 1, 4000)));
    }
    painter.setFont(mark);
    painter.setPen(markColor);
    painter.drawText(cell, Qt::AlignCenter, QStringLiteral("OGG"));

    QFont text(QStringLiteral("Arial"));
    text.setPixelSize(std::max(1, std::min(12, cell.height() / 6)));
    painter.setFont(text);
    painter.setPen(textColor);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, QString::fromLocal8Bit(oggSummaryText().c_str()));
    painter.restore();
}

void CMVT_WavMemory::draw(QPainter& painter, const QRect& cell, bool swapChannels, const WaveColors& colors,
                          const QColor& markColor) const
{
    if (!hasData())
        return;
    // A stream that does not decode shows what its headers say.
    if (m_ogg && oggEnvelope().isEmpty())
        drawOggSummary(painter, cell, markColor, colors.firstChannel);
    else
        drawWaveform(painter, cell, swapChannels, colors);
}

VoiceSound CMVT_WavMemory::voiceSound() const
{
    if (isOgg())
        return {true, m_oggFile, 0, 0, m_oggInfo.rate, 0};
    return {false, m_samples, m_bits, m_channels, m_rate, m_frames};
}
