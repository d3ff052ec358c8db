#include "dsp/compmath.h"

#include <cmath>
#include <numbers>

namespace kvr::core {

namespace {

// ln(10), fixed at compile time: it is std::log(10.0) to the last bit (a test checks that) and
// needs no start-up order, so a design run from another unit's static initialiser is safe too.
constexpr double kLn10 = std::numbers::ln10;

} // namespace

double Log10(double x) { return std::log(x) / kLn10; }

double Pow10(double x) { return std::exp(x * kLn10); }

double Tan(double x) { return std::sin(x) / std::cos(x); }

double Atan2(double re, double im)
{
    // The order of the tests matters: the negative real axis gives -pi, never +pi.
    if (im == 0.0) return re >= 0.0 ? 0.0 : -std::numbers::pi;
    if (re == 0.0) return im >= 0.0 ? std::numbers::pi / 2.0 : -std::numbers::pi / 2.0;
    if (re > 0.0) return std::atan(im / re);
    if (im > 0.0) return std::atan(im / re) + std::numbers::pi;
    return std::atan(im / re) - std::numbers::pi;
}

void MakeComplex(TComplex& out, double re, double im)
{
    out.Re = re;
    out.Im = im;
}

void ComplexAdd(const TComplex& a, const TComplex& b, TComplex& out)
{
    const double re = a.Re + b.Re;
    const double im = a.Im + b.Im;
    out.Re = re;
    out.Im = im;
}

void ComplexMul(const TComplex& a, const TComplex& b, TComplex& out)
{
    // Both operands are read before out is written: callers pass out as b.
    const double re = a.Re * b.Re - a.Im * b.Im;
    const double im = a.Re * b.Im + b.Re * a.Im;
    out.Re = re;
    out.Im = im;
}

void ComplexDiv(const TComplex& num, const TComplex& den, TComplex& out)
{
    const double a = den.Re;
    const double b = den.Im;
    const double c = num.Re;
    const double d = num.Im;
    if (a == 0.0 && b == 0.0) {
        // A zero denominator only happens for degenerate sections; keep the plots finite.
        out.Re = 0.0;
        out.Im = 0.0;
        return;
    }
    // Scaled by the larger component so that neither square can overflow.
    if (std::fabs(a) > std::fabs(b)) {
        const double r = -b / a;
        const double s = a * (r * r + 1.0);
        out.Re = (c - d * r) / s;
        out.Im = (d + c * r) / s;
    } else {
        const double r = a / b;
        const double s = b * (r * r + 1.0);
        out.Re = (d + c * r) / s;
        out.Im = (d * r - c) / s;
    }
}

double ComplexAbs(const TComplex& a) { return std::sqrt(a.Re * a.Re + a.Im * a.Im); }

void ComplexExp(const TComplex& a, TComplex& out)
{
    const double m = std::exp(a.Re);
    const double im = a.Im;
    out.Re = m * std::cos(im);
    out.Im = m * std::sin(im);
}

} // namespace kvr::core
