// Numeric routines of the level meter: a window table, an in-place complex
// FFT, element-wise products and log magnitudes. Pure arithmetic on arrays of
// doubles: nothing here touches the platform.
#pragma once

// The forward transform (divides every result by N); any other direction is
// the inverse transform (no scaling).
constexpr int kForwardFFT = 1;
constexpr int kInverseFFT = -1;

// In-place radix-2 FFT over N complex values, N a power of two; Data holds N
// pairs (real, imaginary).
void ComplexFFT(double* Data, int N, int Direction);

// Table[i] = (1 - cos(2 pi i / D)) / 2, D = N - 1 when Symmetric, else N.
void HannWindow(double* Table, int N, bool Symmetric);

// B[i] := A[i] * B[i].
void MultiplyArrays(const double* A, double* B, int N);

// Out[i] = log10 |Data[i]| + Offset over N complex values (pairs as in
// ComplexFFT); a zero magnitude or a negative result gives 0.
void LogMagnitude(const double* Data, double* Out, int N, double Offset);
