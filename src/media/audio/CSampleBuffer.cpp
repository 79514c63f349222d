#include "media/audio/CSampleBuffer.h"

#include "core/CRegularFile.h"

#include "media/audio/AudioFileName.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

static_assert(std::endian::native == std::endian::little, "raw sample files are copied byte for byte");

namespace {
// Positions further out than this lie beyond any buffer (counts are 32-bit)
// and would overflow the integer index arithmetic.
constexpr double kPositionLimit = 1e15;

// Above this width smoothing keeps a running sum instead of adding every
// window afresh, so that huge widths cannot make it quadratic.
constexpr std::uint32_t kDirectSmoothWidth = 256;
} // namespace

int CSampleBuffer::resize(std::uint32_t count, bool zeroFill)
{
    (void)zeroFill;
    try {
        if (count == 0) {
            std::vector<double>().swap(m_samples);
            return 1;
        }
        m_samples.resize(count, 0.0);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
}

int CSampleBuffer::copyFrom(const CSampleBuffer& other)
{
    return copyRangeFrom(other, 0, other.count());
}

int CSampleBuffer::copyRangeFrom(const CSampleBuffer& other, std::uint32_t first, std::uint32_t count)
{
    const std::size_t n = other.clampedCount(first, count);
    try {
        // Copied aside first, so that a buffer may copy a range of itself.
        std::vector<double> copy;
        if (n > 0)
            copy.assign(other.m_samples.begin() + first, other.m_samples.begin() + first + n);
        m_samples.swap(copy);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

std::size_t CSampleBuffer::clampedCount(std::uint32_t first, std::uint32_t count) const
{
    if (first >= m_samples.size())
        return 0;
    return std::min<std::size_t>(count, m_samples.size() - first);
}

double CSampleBuffer::read(double position, double width) const
{
    if (!std::isfinite(position) || !std::isfinite(width) || std::fabs(position) > kPositionLimit)
        return 0.0;
    const double entry = std::trunc(position);
    const auto e = static_cast<std::int64_t>(entry);
    const double a = 1.0 - (position - entry);
    if (!(width > 1.0))
        return get(e) * a + get(std::min<std::int64_t>(e + 1, static_cast<std::int64_t>(count()) - 1)) * (1.0 - a);

    // Box average: the first sample weighs what of it lies inside the box,
    // every whole sample 1 and the last one the remaining fraction.
    double sum = get(e) * a;
    double weights = a;
    double left = width - a;
    const double end = std::trunc(std::min(position + width, kPositionLimit));
    const auto endIndex = static_cast<std::int64_t>(end);
    // Samples outside the buffer add nothing to the sum, so only the ones
    // that exist are visited; the others still count in the weights.
    const std::int64_t from = std::max<std::int64_t>(e + 1, 0);
    const std::int64_t to = std::min<std::int64_t>(endIndex, count());
    for (std::int64_t i = from; i < to; ++i) {
        sum += m_samples[static_cast<std::size_t>(i)];
        weights += 1.0;
        left -= 1.0;
    }
    const double skipped = static_cast<double>(std::max<std::int64_t>(endIndex - (e + 1), 0))
                           - static_cast<double>(std::max<std::int64_t>(to - from, 0));
    if (skipped > 0.0) {
        weights += skipped;
        left -= skipped;
    }
    if (left > 0.0) {
        sum += left * get(endIndex);
        weights += left;
    }
    return sum / weights;
}

int CSampleBuffer::resample(std::uint32_t newCount)
{
    const std::uint32_t oldCount = count();
    if (oldCount == 0)
        return 0;
    try {
        std::vector<double> result(newCount);
        const double step = static_cast<double>(oldCount) / static_cast<double>(newCount);
        for (std::uint32_t i = 0; i < newCount; ++i)
            result[i] = read(static_cast<double>(i) * step, step);
        m_samples.swap(result);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void CSampleBuffer::smooth(std::uint32_t width)
{
    if (width < 2 || m_samples.empty())
        return;
    const std::size_t n = m_samples.size();
    const double divisor = static_cast<double>(width);
    if (width <= kDirectSmoothWidth) {
        // Each window reads samples at and after i only, which are still the
        // unsmoothed ones.
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t end = std::min<std::size_t>(n, i + width);
            double sum = 0.0;
            for (std::size_t j = i; j < end; ++j)
                sum += m_samples[j];
            m_samples[i] = sum / divisor;
        }
        return;
    }
    double sum = 0.0;
    for (std::size_t j = 0; j < std::min<std::size_t>(n, width); ++j)
        sum += m_samples[j];
    for (std::size_t i = 0; i < n; ++i) {
        const double old = m_samples[i];
        m_samples[i] = sum / divisor;
        sum -= old;
        if (i + width < n)
            sum += m_samples[i + width];
    }
}

void CSampleBuffer::sortAscending(std::uint32_t first, std::uint32_t count)
{
    const std::size_t n = clampedCount(first, count);
    if (n > 0)
        std::sort(m_samples.begin() + first, m_samples.begin() + first + n);
}

double CSampleBuffer::percentile(std::uint32_t first, std::uint32_t count, double fraction) const
{
    const std::size_t n = clampedCount(first, count);
    if (n == 0)
        return 0.0;
    std::vector<double> sorted(m_samples.begin() + first, m_samples.begin() + first + n);
    std::sort(sorted.begin(), sorted.end());
    if (!(fraction > 0.0))
        fraction = 0.0;
    if (fraction > 1.0)
        fraction = 1.0;
    const double q = static_cast<double>(n) * fraction;
    const double f = std::trunc(q);
    const double t = q - f;
    // The upper neighbour is the last value when the position falls on or
    // past it: taking 0 there would halve the median of a single value and
    // pull the highest percentiles towards 0.
    const auto lower = std::min<std::size_t>(static_cast<std::size_t>(f), n - 1);
    const auto upper = std::min<std::size_t>(lower + 1, n - 1);
    return sorted[lower] * (1.0 - t) + sorted[upper] * t;
}

double CSampleBuffer::meanAbsoluteDifference(std::uint32_t a, std::uint32_t b, std::uint32_t count) const
{
    if (count == 0)
        return 0.0;
    const std::size_t size = m_samples.size();
    const std::size_t leftA = a < size ? size - a : 0;
    const std::size_t leftB = b < size ? size - b : 0;
    const std::size_t both = std::min<std::size_t>({count, leftA, leftB});
    const std::size_t either = std::min<std::size_t>(count, std::max(leftA, leftB));
    double sum = 0.0;
    const double* x = m_samples.data();
    for (std::size_t k = 0; k < both; ++k)
        sum += std::fabs(x[a + k] - x[b + k]);
    // Past the end of one window only the other one still has samples.
    for (std::size_t k = both; k < either; ++k)
        sum += std::fabs(get(static_cast<std::int64_t>(a) + static_cast<std::int64_t>(k))
                         - get(static_cast<std::int64_t>(b) + static_cast<std::int64_t>(k)));
    return sum / static_cast<double>(count) * 2.0;
}

double CSampleBuffer::rms(std::uint32_t first, std::uint32_t count) const
{
    if (count == 0)
        return 0.0;
    const std::size_t n = clampedCount(first, count);
    double sum = 0.0;
    for (std::size_t k = 0; k < n; ++k)
        sum += m_samples[first + k] * m_samples[first + k];
    return std::sqrt(sum / static_cast<double>(count));
}

CSampleBuffer::Range CSampleBuffer::minMax(std::uint32_t first, std::uint32_t count) const
{
    const std::size_t n = clampedCount(first, count);
    if (n == 0)
        return {};
    const auto [lo, hi] = std::minmax_element(m_samples.begin() + first, m_samples.begin() + first + n);
    return {*lo, *hi};
}

void CSampleBuffer::normalise(std::uint32_t first, std::uint32_t count, double low, double high)
{
    const std::size_t n = clampedCount(first, count);
    if (n == 0)
        return;
    const Range range = minMax(first, count);
    const double span = range.max - range.min;
    for (std::size_t k = 0; k < n; ++k) {
        double& x = m_samples[first + k];
        x = span > 0.0 ? low + (high - low) / span * (x - range.min) : low;
    }
}

void CSampleBuffer::clamp(std::uint32_t first, std::uint32_t count, double low, double high)
{
    const std::size_t n = clampedCount(first, count);
    for (std::size_t k = 0; k < n; ++k) {
        double& x = m_samples[first + k];
        if (!(x >= low))
            x = low;
        else if (x > high)
            x = high;
    }
}

void CSampleBuffer::ramp(std::uint32_t a, std::uint32_t b, double valueA, double valueB)
{
    const std::uint32_t n = count();
    if (a >= n && b >= n)
        return;
    a = std::min(a, n - 1);
    b = std::min(b, n - 1);
    if (b < a) {
        std::swap(a, b);
        std::swap(valueA, valueB);
    }
    if (a == b) {
        m_samples[a] = (valueA + valueB) / 2.0;
        return;
    }
    if (b == a + 1) {
        m_samples[a] = valueA;
        m_samples[b] = valueB;
        return;
    }
    const double steps = static_cast<double>(b - a);
    for (std::uint32_t k = 0; k <= b - a; ++k)
        m_samples[a + k] = valueA + static_cast<double>(k) * (valueB - valueA) / steps;
}

int CSampleBuffer::loadRaw(const std::string& path)
{
    QFile file;
    if (!CRegularFile::open(file, path))
        return 0;
    const qint64 samples = file.size() / static_cast<qint64>(sizeof(double));
    if (samples > std::numeric_limits<std::uint32_t>::max())
        return 0;
    try {
        std::vector<double> loaded(static_cast<std::size_t>(samples));
        const qint64 bytes = samples * static_cast<qint64>(sizeof(double));
        if (bytes > 0 && file.read(reinterpret_cast<char*>(loaded.data()), bytes) != bytes)
            return 0;
        m_samples.swap(loaded);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CSampleBuffer::saveRaw(const std::string& path) const
{
    QSaveFile file(audioFileName(path));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    const auto bytes = static_cast<qint64>(m_samples.size() * sizeof(double));
    if (bytes > 0 && file.write(reinterpret_cast<const char*>(m_samples.data()), bytes) != bytes) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}

int CSampleBuffer::importSamples(const unsigned char* bytes, std::size_t size, std::uint32_t first,
                                 std::uint32_t count, int bits, int channel, int channels,
                                 CSampleEncoding encoding)
{
    if (!CSampleCodec::isSupported(bits, encoding) || channels < 1 || channel < 0 || channel >= channels)
        return 0;
    const std::size_t sampleBytes = CSampleCodec::bytesPerSample(bits);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(channels);
    const std::size_t n = std::min({static_cast<std::size_t>(count), size / frameBytes, clampedCount(first, count)});
    const unsigned char* p = bytes + static_cast<std::size_t>(channel) * sampleBytes;
    for (std::size_t k = 0; k < n; ++k, p += frameBytes)
        m_samples[first + k] = CSampleCodec::decode(p, bits, encoding);
    return 1;
}

int CSampleBuffer::exportSamples(unsigned char* bytes, std::size_t size, std::uint32_t first, std::uint32_t count,
                                 int bits, int channel, int channels) const
{
    if (!CSampleCodec::isSupported(bits, CSampleEncoding::SystemScale) || channels < 1 || channel < 0
        || channel >= channels)
        return 0;
    const std::size_t sampleBytes = CSampleCodec::bytesPerSample(bits);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(channels);
    const std::size_t n = std::min<std::size_t>(count, size / frameBytes);
    unsigned char* p = bytes + static_cast<std::size_t>(channel) * sampleBytes;
    for (std::size_t k = 0; k < n; ++k, p += frameBytes)
        CSampleCodec::encode(get(static_cast<std::int64_t>(first) + static_cast<std::int64_t>(k)), bits, p);
    return 1;
}
