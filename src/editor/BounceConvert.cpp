#include "BounceConvert.h"

#include <algorithm>
#include <cmath>
#include <immintrin.h>

// The loops work on eight samples (four stereo frames) at a time with SSE2,
// which every machine that runs the program has, and the volume on sixteen
// where the processor can: a bounce of a whole file must not cost much more
// than copying it. The rest of a buffer goes through the same rules one
// sample or frame at a time.

namespace {

constexpr double kSampleMin = -32768.0;
constexpr double kSampleMax = 32767.0;
// Beyond this factor every sample but 0 clips anyway. The bound keeps every
// product within 32 bits, and an infinite volume from turning 0 x infinity
// into "not a number".
constexpr double kVolumeLimit = 32768.0;

double ConvertUsableVolume(double volume)
{
    if (std::isnan(volume))
        return 0;
    return std::clamp(volume, -kVolumeLimit, kVolumeLimit);
}

// Every product of a sample and a bounded volume fits 32 bits; the
// conversion to integers rounds half to even (the processor's default
// rounding, which the program never changes), and the pack to 16 bits clips.

// Eight samples at a time; returns how many were scaled.
std::size_t ConvertScaleNarrow(std::int16_t* samples, std::size_t count, double volume)
{
    const __m128d factor = _mm_set1_pd(volume);
    // The two low 32-bit lanes of v, scaled.
    auto scaleTwo = [&](__m128i v) {
        return _mm_cvtpd_epi32(_mm_mul_pd(_mm_cvtepi32_pd(v), factor));
    };
    auto scaleFour = [&](__m128i v) {
        return _mm_unpacklo_epi64(scaleTwo(v), scaleTwo(_mm_srli_si128(v, 8)));
    };
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        auto* at = reinterpret_cast<__m128i*>(samples + i);
        const __m128i s = _mm_loadu_si128(at);
        const __m128i first = _mm_srai_epi32(_mm_unpacklo_epi16(s, s), 16);
        const __m128i second = _mm_srai_epi32(_mm_unpackhi_epi16(s, s), 16);
        _mm_storeu_si128(at, _mm_packs_epi32(scaleFour(first), scaleFour(second)));
    }
    return i;
}

// The same with four doubles an instruction, on processors that have the
// 256-bit instructions: it halves the time of a volume change.
#pragma GCC push_options
#pragma GCC target("avx2")
std::size_t ConvertScaleWide(std::int16_t* samples, std::size_t count, double volume)
{
    const __m256d factor = _mm256_set1_pd(volume);
    auto scaleFour = [&](__m128i v) {
        return _mm256_cvtpd_epi32(_mm256_mul_pd(_mm256_cvtepi32_pd(v), factor));
    };
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        auto* at = reinterpret_cast<__m256i*>(samples + i);
        const __m256i s = _mm256_loadu_si256(at);
        const __m256i first = _mm256_cvtepi16_epi32(_mm256_castsi256_si128(s));
        const __m256i second = _mm256_cvtepi16_epi32(_mm256_extracti128_si256(s, 1));
        const __m128i low = _mm_packs_epi32(scaleFour(_mm256_castsi256_si128(first)),
                                            scaleFour(_mm256_extracti128_si256(first, 1)));
        const __m128i high = _mm_packs_epi32(scaleFour(_mm256_castsi256_si128(second)),
                                             scaleFour(_mm256_extracti128_si256(second, 1)));
        _mm256_storeu_si256(at, _mm256_set_m128i(high, low));
    }
    return i;
}
#pragma GCC pop_options

bool ConvertHasWideVectors()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

void ConvertScale(std::int16_t* samples, std::size_t count, double volume)
{
    std::size_t done = ConvertHasWideVectors() ? ConvertScaleWide(samples, count, volume) : 0;
    done += ConvertScaleNarrow(samples + done, count - done, volume);
    for (std::size_t i = done; i < count; ++i)
        samples[i] = ScaleSample(samples[i], volume);
}

// Mono from stereo: frame k's value (pick of four frames as 32-bit lanes,
// one of the frame by one) becomes sample k.
template <class PickFour, class PickOne>
void ConvertToMono(std::int16_t* samples, std::size_t frames, PickFour pickFour, PickOne pickOne)
{
    std::size_t k = 0;
    for (; k + 8 <= frames; k += 8) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 2 * k));
        const __m128i second =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 2 * k + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(samples + k),
                         _mm_packs_epi32(pickFour(first), pickFour(second)));
    }
    for (; k < frames; ++k)
        samples[k] = static_cast<std::int16_t>(pickOne(samples[2 * k], samples[2 * k + 1]));
}

void ConvertMonoMix(std::int16_t* samples, std::size_t frames)
{
    const __m128i ones = _mm_set1_epi16(1);
    ConvertToMono(
        samples, frames,
        [&](__m128i v) {
            const __m128i sum = _mm_madd_epi16(v, ones);
            // Toward zero: a negative sum gets one added before the shift.
            return _mm_srai_epi32(_mm_add_epi32(sum, _mm_srli_epi32(sum, 31)), 1);
        },
        [](int left, int right) { return (left + right) / 2; });
}

void ConvertMonoLeft(std::int16_t* samples, std::size_t frames)
{
    ConvertToMono(
        samples, frames, [](__m128i v) { return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16); },
        [](int left, int) { return left; });
}

void ConvertMonoRight(std::int16_t* samples, std::size_t frames)
{
    ConvertToMono(
        samples, frames, [](__m128i v) { return _mm_srai_epi32(v, 16); },
        [](int, int right) { return right; });
}

void ConvertSwap(std::int16_t* samples, std::size_t frames)
{
    std::size_t k = 0;
    for (; k + 4 <= frames; k += 4) {
        auto* at = reinterpret_cast<__m128i*>(samples + 2 * k);
        const __m128i v = _mm_loadu_si128(at);
        _mm_storeu_si128(at, _mm_or_si128(_mm_slli_epi32(v, 16), _mm_srli_epi32(v, 16)));
    }
    for (; k < frames; ++k)
        std::swap(samples[2 * k], samples[2 * k + 1]);
}

} // namespace

std::int16_t ScaleSample(std::int16_t sample, double volume)
{
    const double scaled = sample * ConvertUsableVolume(volume);
    return static_cast<std::int16_t>(std::nearbyint(std::clamp(scaled, kSampleMin, kSampleMax)));
}

bool BounceNeedsConversion(TOutputMode mode, double volume)
{
    return mode != TOutputMode::NoTouch || volume != 1.0;
}

int BounceOutputChannels(int fileChannels, TOutputMode mode)
{
    if (fileChannels != 2)
        return fileChannels;
    switch (mode) {
    case TOutputMode::MonoMix:
    case TOutputMode::MonoLeft:
    case TOutputMode::MonoRight:
        return 1;
    default:
        return 2;
    }
}

std::size_t ConvertBuffer(std::int16_t* samples, std::size_t count, int channels, double volume,
                          TOutputMode mode)
{
    if (volume != 1.0)
        ConvertScale(samples, count, ConvertUsableVolume(volume));
    if (channels != 2)
        return count;
    const std::size_t frames = count / 2;
    switch (mode) {
    case TOutputMode::MonoMix:
        ConvertMonoMix(samples, frames);
        return frames;
    case TOutputMode::MonoLeft:
        ConvertMonoLeft(samples, frames);
        return frames;
    case TOutputMode::MonoRight:
        ConvertMonoRight(samples, frames);
        return frames;
    case TOutputMode::Swap:
        ConvertSwap(samples, frames);
        return count;
    default:
        return count;
    }
}
