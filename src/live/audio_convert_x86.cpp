// Converters for x86-64 with GCC or Clang: SSE2, which every x86-64 processor has, and AVX2 and
// AVX-512 where the processor (and the system, for the wider registers) reports them. x86 stores
// 16-bit lanes little-endian, as the engine wants.
//
// They multiply in single precision, rounding toward zero, which truncates to exactly what the
// exact (double) product truncates to: every whole number a sample can reach is a float, so
// rounding toward zero never crosses one, while rounding to nearest can land on the next one
// up. Widening to double gives the same values at two to three times the cost.
#include <immintrin.h>

#include "live/audio_convert.h"

namespace kinetra {
namespace {

// Single-precision arithmetic on this thread rounds toward zero while it lives; the caller's
// rounding mode and flags (the host's audio thread may flush denormals) come back afterwards.
// Setting the mode costs tens of cycles, so it brackets whole loops, and only loops with work.
class RoundTowardZero {
public:
    RoundTowardZero() : saved_(_mm_getcsr()) {
        _mm_setcsr((saved_ & ~_MM_ROUND_MASK) | _MM_ROUND_TOWARD_ZERO);
    }
    ~RoundTowardZero() { _mm_setcsr(saved_); }
    RoundTowardZero(const RoundTowardZero&) = delete;
    RoundTowardZero& operator=(const RoundTowardZero&) = delete;

private:
    unsigned saved_;
};

// Four samples scaled, NaN made 0 and limited above in float, then truncated: what is still
// out of range is below -32767 and the saturating pack turns it into -32768.
__m128i ScaleSse2(__m128 samples) {
    const __m128 scaled = _mm_mul_ps(samples, _mm_set1_ps(32767.0f));
    const __m128 numbers = _mm_and_ps(scaled, _mm_cmpord_ps(scaled, scaled));
    return _mm_cvttps_epi32(_mm_min_ps(numbers, _mm_set1_ps(32767.0f)));
}

void ConvertSse2(const float* plane0, const float* plane1, std::size_t frames, std::uint8_t* out) {
    std::size_t i = 0;
    if (frames >= 4) {
        const RoundTowardZero rounding;
        for (; i + 4 <= frames; i += 4) {
            const __m128i left = ScaleSse2(_mm_loadu_ps(plane0 + i));
            const __m128i right = ScaleSse2(_mm_loadu_ps(plane1 + i));
            const __m128i pairs =
                _mm_packs_epi32(_mm_unpacklo_epi32(left, right), _mm_unpackhi_epi32(left, right));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * kAudioFrameBytes), pairs);
        }
    }
    ConvertInterleavePortable(plane0 + i, plane1 + i, frames - i, out + i * kAudioFrameBytes);
}

__attribute__((target("avx2"))) __m256i ScaleAvx2(__m256 samples) {
    const __m256 scaled = _mm256_mul_ps(samples, _mm256_set1_ps(32767.0f));
    const __m256 numbers = _mm256_and_ps(scaled, _mm256_cmp_ps(scaled, scaled, _CMP_ORD_Q));
    return _mm256_cvttps_epi32(_mm256_min_ps(numbers, _mm256_set1_ps(32767.0f)));
}

__attribute__((target("avx2"))) void ConvertAvx2(const float* plane0, const float* plane1,
                                                 std::size_t frames, std::uint8_t* out) {
    std::size_t i = 0;
    if (frames >= 8) {
        const RoundTowardZero rounding;
        for (; i + 8 <= frames; i += 8) {
            const __m256i left = ScaleAvx2(_mm256_loadu_ps(plane0 + i));
            const __m256i right = ScaleAvx2(_mm256_loadu_ps(plane1 + i));
            // Unpacking and packing work within each 128-bit half, so frames 0-3 stay in the
            // low half and 4-7 in the high one: already in order.
            const __m256i pairs = _mm256_packs_epi32(_mm256_unpacklo_epi32(left, right),
                                                     _mm256_unpackhi_epi32(left, right));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i * kAudioFrameBytes), pairs);
        }
    }
    ConvertSse2(plane0 + i, plane1 + i, frames - i, out + i * kAudioFrameBytes);
}

// Sixteen samples: the product's rounding is part of the instruction, so the rounding mode is
// left alone. NaN lanes are masked to 0 by the conversion itself, which saves the AVX2 path's
// compare-and-clear.
__attribute__((target("avx512f,avx512bw"))) __m512i ScaleAvx512(__m512 samples) {
    const __m512 scaled = _mm512_mul_round_ps(samples, _mm512_set1_ps(32767.0f),
                                              _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __mmask16 numbers = _mm512_cmp_ps_mask(scaled, scaled, _CMP_ORD_Q);
    return _mm512_maskz_cvttps_epi32(numbers, _mm512_min_ps(scaled, _mm512_set1_ps(32767.0f)));
}

__attribute__((target("avx512f,avx512bw"))) void ConvertAvx512(const float* plane0,
                                                               const float* plane1,
                                                               std::size_t frames,
                                                               std::uint8_t* out) {
    std::size_t i = 0;
    for (; i + 16 <= frames; i += 16) {
        const __m512i left = ScaleAvx512(_mm512_loadu_ps(plane0 + i));
        const __m512i right = ScaleAvx512(_mm512_loadu_ps(plane1 + i));
        // As with AVX2, each 128-bit quarter keeps its four frames: already in order.
        const __m512i pairs = _mm512_packs_epi32(_mm512_unpacklo_epi32(left, right),
                                                 _mm512_unpackhi_epi32(left, right));
        _mm512_storeu_si512(out + i * kAudioFrameBytes, pairs);
    }
    ConvertAvx2(plane0 + i, plane1 + i, frames - i, out + i * kAudioFrameBytes);
}

}  // namespace

std::span<const AudioConverter> AudioConverters() {
    static constexpr AudioConverter kAll[] = {{"avx512", &ConvertAvx512},
                                              {"avx2", &ConvertAvx2},
                                              {"sse2", &ConvertSse2},
                                              {"portable", &ConvertInterleavePortable}};
    static const std::span<const AudioConverter> kRunnable = [] {
        __builtin_cpu_init();
        const std::size_t skipped = __builtin_cpu_supports("avx512bw") ? 0
                                    : __builtin_cpu_supports("avx2")   ? 1
                                                                       : 2;
        return std::span(kAll).subspan(skipped);
    }();
    return kRunnable;
}

}  // namespace kinetra
