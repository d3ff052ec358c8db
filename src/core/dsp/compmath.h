#pragma once

// Complex arithmetic used by every response evaluation.

namespace kvr::core {

struct TComplex {
    double Re = 0.0;
    double Im = 0.0;
};

double Log10(double x);
double Pow10(double x);
double Tan(double x);
// Argument of re + j*im with the program's own rules: im = 0 gives 0 or -pi (never +pi).
double Atan2(double re, double im);

void MakeComplex(TComplex& out, double re, double im);
// out may alias a or b.
void ComplexAdd(const TComplex& a, const TComplex& b, TComplex& out);
void ComplexMul(const TComplex& a, const TComplex& b, TComplex& out);
// Scaled division; a zero denominator gives (0, 0) instead of infinities.
void ComplexDiv(const TComplex& num, const TComplex& den, TComplex& out);
double ComplexAbs(const TComplex& a);
void ComplexExp(const TComplex& a, TComplex& out);

} // namespace kvr::core
