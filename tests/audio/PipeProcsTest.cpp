#include "audio/PipeProcs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

TEST(PipeProcsTest, ForwardFftIsTheScaledDftAndTheInverseUndoesIt)
{
    for (int n : {2, 8, 64}) {
        std::vector<double> data(2 * n);
        for (int i = 0; i < 2 * n; ++i)
            data[i] = std::sin(i * 1.7) * 100 + i % 5;
        std::vector<double> original = data;
        ComplexFFT(data.data(), n, kForwardFFT);
        for (int k = 0; k < n; ++k) {
            double re = 0, im = 0;
            for (int t = 0; t < n; ++t) {
                double angle = -2 * kPi * k * t / n;
                re += original[2 * t] * std::cos(angle) - original[2 * t + 1] * std::sin(angle);
                im += original[2 * t] * std::sin(angle) + original[2 * t + 1] * std::cos(angle);
            }
            EXPECT_NEAR(data[2 * k], re / n, 1e-9) << "N " << n << ", bin " << k;
            EXPECT_NEAR(data[2 * k + 1], im / n, 1e-9) << "N " << n << ", bin " << k;
        }
        ComplexFFT(data.data(), n, kInverseFFT);
        for (int i = 0; i < 2 * n; ++i)
            EXPECT_NEAR(data[i], original[i], 1e-9);
    }
}

TEST(PipeProcsTest, HannWindowProductsAndLogMagnitudes)
{
    double symmetric[5], periodic[4];
    HannWindow(symmetric, 5, true);
    HannWindow(periodic, 4, false);
    const double expectSymmetric[5] = {0, 0.5, 1, 0.5, 0};
    const double expectPeriodic[4] = {0, 0.5, 1, 0.5};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(symmetric[i], expectSymmetric[i], 1e-15);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(periodic[i], expectPeriodic[i], 1e-15);

    double b[3] = {2, 3, 4};
    const double a[3] = {0.5, -1, 0};
    MultiplyArrays(a, b, 3);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], -3);
    EXPECT_EQ(b[2], 0);

    // Magnitudes 0, 0.5 (log below 0), 100 and 5 (3-4-5).
    const double complex[8] = {0, 0, 0.5, 0, 0, -100, 3, 4};
    double out[4];
    LogMagnitude(complex, out, 4, 0.25);
    EXPECT_EQ(out[0], 0);
    EXPECT_NEAR(out[1], 0, 1e-15); // log10(0.5) + 0.25 is below 0
    EXPECT_NEAR(out[2], 2.25, 1e-12);
    EXPECT_NEAR(out[3], std::log10(5.0) + 0.25, 1e-12);
}

} // namespace
