#include "tools/analysis/CLagDifferences.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Lags compared side by side: four to a vector, up to eight vectors, so that
// enough independent sums are in flight to hide the latency of each addition.
constexpr std::int64_t kMaxLanes = 32;

typedef double Vec4 __attribute__((vector_size(32)));
typedef long long Mask4 __attribute__((vector_size(32)));

// sums[l] += |a[k] - b[k + l]| for k < n, for the 4 x V lanes l; each lane in
// increasing k, as the plain loop adds them.
template <int V>
[[gnu::always_inline]] inline void addLagBlock(const double* a, const double* b, std::int64_t n, double* sums)
{
    const Mask4 noSign = {0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL};
    Vec4 acc[V];
    std::memcpy(acc, sums, sizeof acc);
    for (std::int64_t k = 0; k < n; ++k) {
        const double v = a[k];
        const Vec4 here = {v, v, v, v};
        for (int j = 0; j < V; ++j) {
            Vec4 there;
            std::memcpy(&there, b + k + 4 * j, sizeof there);
            const Vec4 d = here - there;
            acc[j] += (Vec4)((Mask4)d & noSign); // |d|: the sign bit cleared
        }
    }
    std::memcpy(sums, acc, sizeof acc);
}

// One copy for processors with 256-bit vectors, one for the rest; the loader
// picks once at start.
__attribute__((target_clones("avx2", "default"))) void addLags32(const double* a, const double* b, std::int64_t n,
                                                                 double* sums)
{
    addLagBlock<8>(a, b, n, sums);
}
__attribute__((target_clones("avx2", "default"))) void addLags16(const double* a, const double* b, std::int64_t n,
                                                                 double* sums)
{
    addLagBlock<4>(a, b, n, sums);
}
__attribute__((target_clones("avx2", "default"))) void addLags8(const double* a, const double* b, std::int64_t n,
                                                                double* sums)
{
    addLagBlock<2>(a, b, n, sums);
}
__attribute__((target_clones("avx2", "default"))) void addLags4(const double* a, const double* b, std::int64_t n,
                                                                double* sums)
{
    addLagBlock<1>(a, b, n, sums);
}

double meanOf(double sum, std::int64_t window)
{
    return window > 0 ? sum / static_cast<double>(window) * 2.0 : 0.0;
}
} // namespace

CLagDifferences::CLagDifferences(const double* samples, std::uint32_t count, std::int64_t maxLag) : m_count(count)
{
    // Lags beyond the signal compare it with silence only; they take the
    // plain path, so the padding never needs to exceed the signal itself.
    const std::int64_t padding = std::clamp<std::int64_t>(maxLag, 0, count) + kMaxLanes + 8;
    m_padded = static_cast<std::int64_t>(count) + padding;
    m_samples.assign(static_cast<std::size_t>(m_padded), 0.0);
    if (count > 0)
        std::memcpy(m_samples.data(), samples, count * sizeof(double));
}

void CLagDifferences::computePlain(std::uint32_t start, std::int64_t lo, std::int64_t hi, std::int64_t base,
                                   double* out) const
{
    for (std::int64_t i = lo; i <= hi; ++i) {
        const std::int64_t window = base - i;
        // Once the first window has left the signal both windows hold only
        // silence, which adds nothing.
        const std::int64_t inside = std::min<std::int64_t>(window, static_cast<std::int64_t>(m_count) - start);
        double sum = 0.0;
        for (std::int64_t k = 0; k < inside; ++k)
            sum += std::fabs(sample(start + k) - sample(start + i + k));
        out[i - lo] = meanOf(sum, window);
    }
}

void CLagDifferences::compute(std::uint32_t start, std::int64_t lo, std::int64_t hi, std::int64_t base,
                              double* out) const
{
    const std::int64_t inside = static_cast<std::int64_t>(m_count) - start;
    if (inside <= 0) {
        std::fill(out, out + (hi - lo + 1), 0.0);
        return;
    }
    const double* a = m_samples.data() + start;
    std::int64_t i = lo;
    while (i <= hi) {
        const std::int64_t left = hi - i + 1;
        const std::int64_t lanes = left > 16 ? 32 : left > 8 ? 16 : left > 4 ? 8 : 4;
        const std::int64_t lastValid = std::min(hi, i + lanes - 1);
        // The run every lane of the block shares; each lane finishes alone.
        const std::int64_t common = std::clamp<std::int64_t>(std::min(base - lastValid, inside), 0, inside);
        if (start + i + lanes - 1 + inside > m_padded) {
            computePlain(start, i, lastValid, base, out + (i - lo));
            i = lastValid + 1;
            continue;
        }
        double sums[kMaxLanes] = {};
        const double* b = a + i;
        switch (lanes) {
        case 32: addLags32(a, b, common, sums); break;
        case 16: addLags16(a, b, common, sums); break;
        case 8: addLags8(a, b, common, sums); break;
        default: addLags4(a, b, common, sums); break;
        }
        for (std::int64_t lag = i; lag <= lastValid; ++lag) {
            const std::int64_t window = base - lag;
            const std::int64_t own = std::min(window, inside);
            double& sum = sums[lag - i];
            for (std::int64_t k = common; k < own; ++k)
                sum += std::fabs(a[k] - a[lag + k]);
            out[lag - lo] = meanOf(sum, window);
        }
        i = lastValid + 1;
    }
}
