#include "PipeProcs.h"

#include <cmath>
#include <utility>

namespace {

void ReorderBitReversed(double* Data, int N)
{
    for (int i = 0, j = 0; i < N - 1; ++i) {
        if (i < j) {
            std::swap(Data[2 * i], Data[2 * j]);
            std::swap(Data[2 * i + 1], Data[2 * j + 1]);
        }
        int k = N >> 1;
        while (k <= j) {
            j -= k;
            k >>= 1;
        }
        j += k;
    }
}

} // namespace

void ComplexFFT(double* Data, int N, int Direction)
{
    if (N < 2)
        return;
    ReorderBitReversed(Data, N);
    // The twiddle step of each level: -1 for pairs, then halved angles.
    double c1 = -1.0;
    double c2 = 0.0;
    for (int half = 1; half < N; half <<= 1) {
        int span = half << 1;
        double u1 = 1.0; // twiddle factor, real part
        double u2 = 0.0; // imaginary part
        for (int j = 0; j < half; ++j) {
            for (int i = j; i < N; i += span) {
                double* a = Data + 2 * i;
                double* b = Data + 2 * (i + half);
                double t1 = u1 * b[0] - u2 * b[1];
                double t2 = u1 * b[1] + u2 * b[0];
                b[0] = a[0] - t1;
                b[1] = a[1] - t2;
                a[0] += t1;
                a[1] += t2;
            }
            double next = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = next;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (Direction == kForwardFFT)
            c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }
    if (Direction == kForwardFFT) {
        for (int i = 0; i < 2 * N; ++i)
            Data[i] /= N;
    }
}

void HannWindow(double* Table, int N, bool Symmetric)
{
    const double pi = 3.14159265358979323846;
    double d = Symmetric ? N - 1 : N;
    for (int i = 0; i < N; ++i)
        Table[i] = d == 0 ? 0.0 : (1.0 - std::cos(2.0 * pi * i / d)) / 2.0;
}

void MultiplyArrays(const double* A, double* B, int N)
{
    for (int i = 0; i < N; ++i)
        B[i] = A[i] * B[i];
}

void LogMagnitude(const double* Data, double* Out, int N, double Offset)
{
    for (int i = 0; i < N; ++i) {
        double magnitude = std::sqrt(Data[2 * i] * Data[2 * i] + Data[2 * i + 1] * Data[2 * i + 1]);
        double value = magnitude == 0.0 ? 0.0 : std::log10(magnitude) + Offset;
        Out[i] = value < 0.0 ? 0.0 : value;
    }
}
