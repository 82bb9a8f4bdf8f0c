#include "engine/resize/PlaneResizer.h"

#include "engine/resize/PlaneBuffer.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// GCC and Clang build an AVX2 variant beside the SSE2 one and pick it at run time.
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define VISTREL_AVX2_DISPATCH 1
#include <immintrin.h>
#else
#define VISTREL_AVX2_DISPATCH 0
#endif
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vistrel::engine {

namespace {

constexpr int kRound = 1 << (ResamplingProgram::kBits - 1);

inline uint8_t toByte(int32_t sum) { return uint8_t(std::clamp(sum >> ResamplingProgram::kBits, 0, 255)); }

// Output bytes [x, end) of one row: the taps' weighted sum of source rows.
void verticalSpanScalar(const uint8_t* const* rows, const int16_t* coef, int taps, uint8_t* out, int x, int end) {
    for (; x < end; ++x) {
        int32_t sum = kRound;
        for (int k = 0; k < taps; ++k) sum += coef[k] * rows[k][x];
        out[x] = toByte(sum);
    }
}

#if defined(__SSE2__)
// The same, 16 bytes at a time: source bytes of two taps are interleaved as
// 16-bit pairs and multiplied with the coefficient pair in one step.
int verticalSpanSse2(const uint8_t* const* rows, const int16_t* coef, int taps, uint8_t* out, int end) {
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 16 <= end; x += 16) {
        __m128i sum[4];
        for (__m128i& s : sum) s = _mm_set1_epi32(kRound);
        for (int k = 0; k < taps; k += 2) {
            const int16_t c1 = k + 1 < taps ? coef[k + 1] : 0;
            const __m128i pair = _mm_set1_epi32(int32_t(uint16_t(coef[k])) | (int32_t(uint16_t(c1)) << 16));
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + x));
            const __m128i b = k + 1 < taps ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + x)) : zero;
            const __m128i aLo = _mm_unpacklo_epi8(a, zero), aHi = _mm_unpackhi_epi8(a, zero);
            const __m128i bLo = _mm_unpacklo_epi8(b, zero), bHi = _mm_unpackhi_epi8(b, zero);
            sum[0] = _mm_add_epi32(sum[0], _mm_madd_epi16(_mm_unpacklo_epi16(aLo, bLo), pair));
            sum[1] = _mm_add_epi32(sum[1], _mm_madd_epi16(_mm_unpackhi_epi16(aLo, bLo), pair));
            sum[2] = _mm_add_epi32(sum[2], _mm_madd_epi16(_mm_unpacklo_epi16(aHi, bHi), pair));
            sum[3] = _mm_add_epi32(sum[3], _mm_madd_epi16(_mm_unpackhi_epi16(aHi, bHi), pair));
        }
        for (__m128i& s : sum) s = _mm_srai_epi32(s, ResamplingProgram::kBits);
        const __m128i words = _mm_packs_epi32(sum[0], sum[1]), words2 = _mm_packs_epi32(sum[2], sum[3]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words2));
    }
    return x;
}
#endif

void verticalPass(const Plane& src, const Plane& dst, const ResamplingProgram& program) {
    const int taps = program.taps();
    std::vector<const uint8_t*> rows(static_cast<size_t>(taps));
    for (int y = 0; y < program.targetSize(); ++y) {
        for (int k = 0; k < taps; ++k) rows[size_t(k)] = src.row(program.firstPixel(y) + k);
        const int16_t* coef = program.coefficients(y);
        int done = 0;
#if defined(__SSE2__)
        done = verticalSpanSse2(rows.data(), coef, taps, dst.row(y), dst.rowBytes);
#endif
        verticalSpanScalar(rows.data(), coef, taps, dst.row(y), done, dst.rowBytes);
    }
}

// Outputs [from, end) of one row.
template <int Channels>
void horizontalRowScalar(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int from = 0) {
    const int taps = program.taps();
    for (int x = from; x < program.targetSize(); ++x) {
        const int16_t* coef = program.coefficients(x);
        const uint8_t* px = in + program.firstPixel(x) * Channels;
        int32_t sum[Channels];
        for (int ch = 0; ch < Channels; ++ch) sum[ch] = kRound;
        for (int k = 0; k < taps; ++k)
            for (int ch = 0; ch < Channels; ++ch) sum[ch] += coef[k] * px[k * Channels + ch];
        for (int ch = 0; ch < Channels; ++ch) out[x * Channels + ch] = toByte(sum[ch]);
    }
}

#if defined(__SSE2__)
inline int32_t sumOfLanes(__m128i v) {
    v = _mm_add_epi32(v, _mm_srli_si128(v, 8));
    v = _mm_add_epi32(v, _mm_srli_si128(v, 4));
    return _mm_cvtsi128_si32(v);
}

// The weighted sum of one output's taps, eight at a time, in four lanes.
inline __m128i tapSums1(const uint8_t* px, const int16_t* coef, int taps) {
    const __m128i zero = _mm_setzero_si128();
    __m128i acc = zero;
    for (int k = 0; k < taps; k += 8) {
        const __m128i pixels = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(px + k)), zero);
        acc = _mm_add_epi32(acc, _mm_madd_epi16(pixels, _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + k))));
    }
    return acc;
}

// Four outputs from the lane sums of each: transposed and added so that lane
// i holds output i, then rounded and stored as bytes.
inline void storeFourSums(const __m128i* acc, uint8_t* out) {
    const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(acc[0], acc[1]), _mm_unpackhi_epi32(acc[0], acc[1]));
    const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(acc[2], acc[3]), _mm_unpackhi_epi32(acc[2], acc[3]));
    __m128i sums = _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
    sums = _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(kRound)), ResamplingProgram::kBits);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sums, sums), sums);
    const int32_t four = _mm_cvtsi128_si32(bytes);
    std::memcpy(out, &four, 4);
}

// One-byte pixels: eight taps per step (the coefficients are zero-padded to
// a multiple of eight), four outputs at a time so that their lanes are summed
// together. Outputs near the right edge, whose last block would read past
// the row, take the plain path.
void horizontalRow1Sse2(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int blockOutputs) {
    const int taps = program.taps();
    int x = 0;
    for (; x + 4 <= blockOutputs; x += 4) {
        __m128i acc[4];
        for (int i = 0; i < 4; ++i)
            acc[i] = tapSums1(in + program.firstPixel(x + i), program.coefficients(x + i), taps);
        storeFourSums(acc, out + x);
    }
    for (; x < blockOutputs; ++x)
        out[x] = toByte(sumOfLanes(tapSums1(in + program.firstPixel(x), program.coefficients(x), taps)) + kRound);
    horizontalRowScalar<1>(in, out, program, blockOutputs);
}

#if VISTREL_AVX2_DISPATCH
// The same with sixteen taps per step where the processor has AVX2; the
// taps read stay within the eight-tap blocks of the SSE2 path.
__attribute__((target("avx2"))) inline __m128i tapSums1Avx2(const uint8_t* px, const int16_t* coef, int padded) {
    __m256i acc = _mm256_setzero_si256();
    int k = 0;
    for (; k + 16 <= padded; k += 16) {
        const __m256i pixels = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(px + k)));
        acc = _mm256_add_epi32(
            acc, _mm256_madd_epi16(pixels, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(coef + k))));
    }
    __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
    if (k < padded) {
        const __m128i pixels = _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(px + k)));
        sum = _mm_add_epi32(sum, _mm_madd_epi16(pixels, _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + k))));
    }
    return sum;
}

__attribute__((target("avx2"))) void horizontalRow1Avx2(const uint8_t* in, uint8_t* out,
                                                        const ResamplingProgram& program, int blockOutputs) {
    const int padded = (program.taps() + 7) / 8 * 8;
    int x = 0;
    for (; x + 4 <= blockOutputs; x += 4) {
        __m128i acc[4];
        for (int i = 0; i < 4; ++i)
            acc[i] = tapSums1Avx2(in + program.firstPixel(x + i), program.coefficients(x + i), padded);
        storeFourSums(acc, out + x);
    }
    for (; x < blockOutputs; ++x)
        out[x] = toByte(sumOfLanes(tapSums1Avx2(in + program.firstPixel(x), program.coefficients(x), padded)) + kRound);
    horizontalRowScalar<1>(in, out, program, blockOutputs);
}
#endif

// Four-byte pixels: two taps per step, the channels of both pixels paired up.
void horizontalRow4Sse2(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int blockOutputs) {
    const int taps = program.taps();
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < blockOutputs; ++x) {
        const int16_t* coef = program.coefficients(x);
        const uint8_t* px = in + program.firstPixel(x) * 4;
        __m128i acc = _mm_set1_epi32(kRound);
        for (int k = 0; k < taps; k += 2) {
            const __m128i two = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(px + k * 4)), zero);
            const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
            const __m128i pair = _mm_set1_epi32(int32_t(uint16_t(coef[k])) | (int32_t(uint16_t(coef[k + 1])) << 16));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(paired, pair));
        }
        acc = _mm_srai_epi32(acc, ResamplingProgram::kBits);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(acc, zero), zero);
        const int32_t value = _mm_cvtsi128_si32(bytes);
        std::memcpy(out + x * 4, &value, 4);
    }
    horizontalRowScalar<4>(in, out, program, blockOutputs);
}
#endif

using HorizontalRow = void (*)(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int blockOutputs);

template <HorizontalRow Row>
void horizontalPass(const Plane& src, const Plane& dst, const ResamplingProgram& program, int blockOutputs) {
    for (int y = 0; y < dst.rows; ++y) Row(src.row(y), dst.row(y), program, blockOutputs);
}

template <int Channels>
void horizontalRowPlain(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int) {
    horizontalRowScalar<Channels>(in, out, program);
}

PlaneResizer::HorizontalPass horizontalPassFor(int channels) {
    switch (channels) {
#if defined(__SSE2__)
    case 1:
#if VISTREL_AVX2_DISPATCH
        if (__builtin_cpu_supports("avx2")) return horizontalPass<horizontalRow1Avx2>;
#endif
        return horizontalPass<horizontalRow1Sse2>;
    case 4: return horizontalPass<horizontalRow4Sse2>;
#else
    case 1: return horizontalPass<horizontalRowPlain<1>>;
    case 4: return horizontalPass<horizontalRowPlain<4>>;
#endif
    case 3: return horizontalPass<horizontalRowPlain<3>>;
    }
    throw std::invalid_argument("PlaneResizer: 1, 3 or 4 channels");
}

void copyPlane(const Plane& src, const Plane& dst) {
    for (int y = 0; y < dst.rows; ++y) std::memcpy(dst.row(y), src.row(y), size_t(dst.rowBytes));
}

}  // namespace

bool resizeVerticalFirst(int srcWidth, int srcHeight, int dstWidth, int dstHeight) {
    return int64_t(srcHeight) * dstWidth > int64_t(srcWidth) * dstHeight;
}

PlaneResizer::PlaneResizer(int channels, ResamplingProgram horizontal, ResamplingProgram vertical, bool verticalFirst)
    : channels_(channels),
      horizontal_(std::move(horizontal)),
      vertical_(std::move(vertical)),
      verticalFirst_(verticalFirst),
      skipHorizontal_(horizontal_.isIdentity()),
      skipVertical_(vertical_.isIdentity()),
      horizontalPass_(horizontalPassFor(channels)),
      blockOutputs_(horizontal_.outputsReadableInBlocks(channels == 1 ? 8 : 2)) {}

void PlaneResizer::resize(const Plane& src, const Plane& dst) const {
    if (skipHorizontal_ && skipVertical_) return copyPlane(src, dst);
    if (skipHorizontal_) return verticalPass(src, dst, vertical_);
    if (skipVertical_) return horizontalPass_(src, dst, horizontal_, blockOutputs_);
    if (verticalFirst_) {
        PlaneBuffer mid(src.rowBytes, vertical_.targetSize());
        verticalPass(src, mid.plane(), vertical_);
        horizontalPass_(mid.plane(), dst, horizontal_, blockOutputs_);
    } else {
        PlaneBuffer mid(horizontal_.targetSize() * channels_, src.rows);
        horizontalPass_(src, mid.plane(), horizontal_, blockOutputs_);
        verticalPass(mid.plane(), dst, vertical_);
    }
}

}  // namespace vistrel::engine
