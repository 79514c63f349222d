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
typedef double Vec8 __attribute__((vector_size(64)));
typedef long long Mask8 __attribute__((vector_size(64)));

// sums[l] += |a[k] - b[k + l]| for the W x V lanes l, over k < n for every
// lane and then over n <= k < end for the lanes whose own window `own[l]`
// still reaches k (the others add +0.0, which leaves a sum unchanged). Each
// lane adds in increasing k, as the plain loop does.
template <typename Vec, typename Mask, int W, int V>
[[gnu::always_inline]] inline void addLagBlock(const double* a, const double* b, std::int64_t n, std::int64_t end,
                                               const long long* own, double* sums)
{
    Mask noSign;
    for (int w = 0; w < W; ++w)
        noSign[w] = 0x7FFFFFFFFFFFFFFFLL;
    // Fully unrolled, so that every sum stays in a register.
    Vec acc[V];
    Mask limit[V];
#pragma GCC unroll 8
    for (int j = 0; j < V; ++j) {
        std::memcpy(&acc[j], sums + W * j, sizeof(Vec));
        std::memcpy(&limit[j], own + W * j, sizeof(Mask));
    }
    for (std::int64_t k = 0; k < n; ++k) {
        Vec here;
        for (int w = 0; w < W; ++w)
            here[w] = a[k];
#pragma GCC unroll 8
        for (int j = 0; j < V; ++j) {
            Vec there;
            std::memcpy(&there, b + k + W * j, sizeof there);
            const Vec d = here - there;
            acc[j] += (Vec)((Mask)d & noSign); // |d|: the sign bit cleared
        }
    }
    for (std::int64_t k = n; k < end; ++k) {
        Vec here;
        Mask at;
        for (int w = 0; w < W; ++w) {
            here[w] = a[k];
            at[w] = k;
        }
#pragma GCC unroll 8
        for (int j = 0; j < V; ++j) {
            Vec there;
            std::memcpy(&there, b + k + W * j, sizeof there);
            const Vec d = here - there;
            acc[j] += (Vec)((Mask)d & noSign & (at < limit[j]));
        }
    }
#pragma GCC unroll 8
    for (int j = 0; j < V; ++j)
        std::memcpy(sums + W * j, &acc[j], sizeof(Vec));
}

// ThreadSanitizer instruments the loader's choice of clone, which then runs
// before the sanitizer is set up and crashes every program at start: its
// builds take the one plain copy.
#if defined(__SANITIZE_THREAD__)
#define QUILLOP_AVX2_CLONES
#else
#define QUILLOP_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// 256-bit vectors where the processor has them (one copy for the rest, the
// loader picks once at start), and 512-bit ones where it has those: the
// loop is bound by how many vector operations issue, not by memory.
#define QUILLOP_LAG_BLOCK(name, vectors)                                                                        \
    QUILLOP_AVX2_CLONES void name(const double* a, const double* b, std::int64_t n, \
                                                                std::int64_t end, const long long* own,          \
                                                                double* sums)                                    \
    {                                                                                                            \
        addLagBlock<Vec4, Mask4, 4, vectors>(a, b, n, end, own, sums);                                           \
    }
QUILLOP_LAG_BLOCK(addLags32, 8)
QUILLOP_LAG_BLOCK(addLags16, 4)
QUILLOP_LAG_BLOCK(addLags8, 2)
QUILLOP_LAG_BLOCK(addLags4, 1)
#undef QUILLOP_LAG_BLOCK

#define QUILLOP_WIDE_LAG_BLOCK(name, vectors)                                                                    \
    __attribute__((target("avx512f"))) void name(const double* a, const double* b, std::int64_t n,               \
                                                 std::int64_t end, const long long* own, double* sums)           \
    {                                                                                                            \
        addLagBlock<Vec8, Mask8, 8, vectors>(a, b, n, end, own, sums);                                           \
    }
QUILLOP_WIDE_LAG_BLOCK(addWideLags32, 4)
QUILLOP_WIDE_LAG_BLOCK(addWideLags16, 2)
QUILLOP_WIDE_LAG_BLOCK(addWideLags8, 1)
#undef QUILLOP_WIDE_LAG_BLOCK

bool hasWideVectors()
{
    static const bool wide = __builtin_cpu_supports("avx512f") != 0;
    return wide;
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
        // The run every lane of the block shares; the lanes with longer
        // windows then go on under a mask.
        const std::int64_t common = std::clamp<std::int64_t>(std::min(base - lastValid, inside), 0, inside);
        if (start + i + lanes - 1 + inside > m_padded) {
            computePlain(start, i, lastValid, base, out + (i - lo));
            i = lastValid + 1;
            continue;
        }
        double sums[kMaxLanes] = {};
        long long own[kMaxLanes] = {}; // lanes past hi count nothing
        for (std::int64_t lag = i; lag <= lastValid; ++lag)
            own[lag - i] = std::clamp<std::int64_t>(std::min(base - lag, inside), 0, inside);
        const std::int64_t end = own[0];
        const double* b = a + i;
        if (lanes >= 8 && hasWideVectors()) {
            switch (lanes) {
            case 32: addWideLags32(a, b, common, end, own, sums); break;
            case 16: addWideLags16(a, b, common, end, own, sums); break;
            default: addWideLags8(a, b, common, end, own, sums); break;
            }
        } else {
            switch (lanes) {
            case 32: addLags32(a, b, common, end, own, sums); break;
            case 16: addLags16(a, b, common, end, own, sums); break;
            case 8: addLags8(a, b, common, end, own, sums); break;
            default: addLags4(a, b, common, end, own, sums); break;
            }
        }
        for (std::int64_t lag = i; lag <= lastValid; ++lag)
            out[lag - lo] = meanOf(sums[lag - i], base - lag);
        i = lastValid + 1;
    }
}
