#include "engine/resize/PlaneResizer.h"

#include "engine/resize/PlaneBuffer.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
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

// One-byte pixels: eight taps per step (the coefficients are zero-padded to
// a multiple of eight). Outputs near the right edge, whose last block would
// read past the row, take the plain path.
void horizontalRow1Sse2(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int blockOutputs) {
    const int taps = program.taps();
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < blockOutputs; ++x) {
        const int16_t* coef = program.coefficients(x);
        const uint8_t* px = in + program.firstPixel(x);
        __m128i acc = zero;
        for (int k = 0; k < taps; k += 8) {
            const __m128i pixels = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(px + k)), zero);
            acc = _mm_add_epi32(acc, _mm_madd_epi16(pixels, _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + k))));
        }
        out[x] = toByte(sumOfLanes(acc) + kRound);
    }
    horizontalRowScalar<1>(in, out, program, blockOutputs);
}

// Four-byte pixels: two taps per step, the channels of both pixels paired up.
void horizontalRow4Sse2(const uint8_t* in, uint8_t* out, const ResamplingProgram& program, int blockOutputs) {
    const int taps = program.taps();
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < blockOutputs; ++x) {
        const int16_t* coef = program.coefficients(x);
        const uint8_t* px = in + program.firstPixel(x) * 4;
        __m128i acc = _mm_set1_epi32(kRound);
        for (int k = 0; k < taps; k += 2) {
            const __m128i two =
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(px + k * 4)), zero);
            const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
            const __m128i pair =
                _mm_set1_epi32(int32_t(uint16_t(coef[k])) | (int32_t(uint16_t(coef[k + 1])) << 16));
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
    case 1: return horizontalPass<horizontalRow1Sse2>;
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
