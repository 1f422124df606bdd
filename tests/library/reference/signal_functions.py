#!/usr/bin/python3
# Reference values for tests/library/signal_test.cpp, computed with NumPy and SciPy (Debian's python3-numpy
# and python3-scipy; scripts/install-reference-tools installs them). Writes signal_functions.inc next to this script:
#   /usr/bin/python3 tests/library/reference/signal_functions.py
# Each row: a zel expression, the result's rows and columns, whether it is complex, whether the values are
# compared as a set (roots), and the values (complex ones as re, im pairs).
import os

import numpy as np
import scipy.fft
import scipy.integrate
import scipy.signal

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "signal_functions.inc")
rows = []


def zel(v):
    """A value in zel's notation: vectors [a, b], matrices [a, b; c, d], complex a+bi."""
    def real(x):
        r = repr(float(x))
        return r[:-2] if r.endswith(".0") else r

    def num(z):
        z = complex(z)
        if z.imag == 0:
            return real(z.real)
        im = real(abs(z.imag)) + "i"
        if z.real == 0:
            return ("-" if z.imag < 0 else "") + im
        return real(z.real) + ("-" if z.imag < 0 else "+") + im
    a = np.asarray(v)
    if a.ndim == 0:
        return num(a)
    if a.ndim == 1:
        return "[" + ", ".join(num(z) for z in a) + "]"
    return "[" + "; ".join(", ".join(num(z) for z in r) for r in a) + "]"


def case(script, value, as_set=False):
    a = np.asarray(value)
    complex_ = np.iscomplexobj(a)
    shape = (1, 1) if a.ndim == 0 else ((1, a.size) if a.ndim == 1 else a.shape)
    flat = a.ravel()
    if as_set:
        flat = np.sort_complex(flat) if complex_ else np.sort(flat)
    nums = []
    assert complex_ or not np.iscomplexobj(flat), script
    for z in flat:
        nums += [complex(z).real, complex(z).imag] if complex_ else [float(z)]
    rows.append('    {"%s", %d, %d, %s, %s, {%s}},' % (script, shape[0], shape[1], str(complex_).lower(),
                                                      str(as_set).lower(), ", ".join(repr(x) for x in nums)))


x5 = np.array([1.0, -2.0, 3.5, 0.25, 4.0])
x6 = np.array([0.5, 1.0, -1.5, 2.0, 3.0, -0.75])
z3 = np.array([1 + 2j, -0.5 + 0j, 3 - 1j])
m23 = np.array([[1.0, 2.0, -1.0], [0.5, 4.0, 3.0]])
zm22 = np.array([[1 + 1j, 2.0], [-3j, 0.5 - 0.5j]])

# Transforms: numpy.fft (no forward scaling, 1/n inverse), the real inverse as irfft of the first n/2+1
# values, scipy.fft.dct/idct with norm="ortho", scipy.signal.hilbert.
case("fft(%s)" % zel(x5), np.fft.fft(x5))
case("fft(%s)" % zel(x6), np.fft.fft(x6))
case("FFT(%s)" % zel(z3), np.fft.fft(z3))
case("fft(%s)" % zel(m23), np.fft.fft(m23, axis=1))
case("ifft(%s)" % zel(z3), np.fft.ifft(z3))
case("ifft(%s)" % zel(x6), np.fft.ifft(x6))
spectrum = np.array([4.0, 1 - 2j, -1 + 0.5j, 2j, 3.0])
case("iffttoreal(%s)" % zel(spectrum), np.fft.irfft(spectrum[:3], 5))
case("iffttoreal(%s)" % zel(spectrum[:4]), np.fft.irfft(spectrum[:3], 4))
case("fft2d(%s)" % zel(m23), np.fft.fft2(m23))
case("ifft2d(%s)" % zel(zm22), np.fft.ifft2(zm22))
spectrum2 = np.fft.fft2(np.array([[1.0, 2.0, 0.5], [-1.0, 3.0, 2.0], [0.0, 1.0, 4.0]])) + 0.25j
case("ifft2dtoreal(%s)" % zel(spectrum2), np.fft.irfft2(spectrum2[:, :2], s=(3, 3)))
case("dct(%s)" % zel(x5), scipy.fft.dct(x5, norm="ortho"))
case("IDCT(%s)" % zel(x6), scipy.fft.idct(x6, norm="ortho"))
case("Dct(%s)" % zel(m23), scipy.fft.dct(m23, norm="ortho", axis=1))
case("idct(%s)" % zel(z3), scipy.fft.idct(z3, norm="ortho"))
case("hilbert(%s)" % zel(x5), scipy.signal.hilbert(x5))
case("hilbert(%s)" % zel(x6), scipy.signal.hilbert(x6))

# Convolution and correlation: numpy.convolve and scipy.signal.convolve2d ("full"); numpy.correlate at
# lags -LoLag .. HiLag, divided by N = max(na, nb) (biased) or N - |k| (unbiased).
case("convolve(%s, %s)" % (zel(x5), zel([1.0, -0.5, 2.0])), np.convolve(x5, [1.0, -0.5, 2.0]))
case("convolve(%s, %s)" % (zel(z3), zel(x6)), np.convolve(z3, x6))
case("convolve(%s, %s)" % (zel(m23), zel([[1.0, -1.0], [2.0, 0.5]])),
     scipy.signal.convolve2d(m23, [[1.0, -1.0], [2.0, 0.5]]))


def xcorr(a, b, hi, lo, norm):
    full = np.correlate(a, b, "full")  # lags -(nb-1) .. na-1
    n = max(len(a), len(b))
    out = []
    for k in range(-lo, hi + 1):
        i = k + len(b) - 1
        r = full[i] if 0 <= i < len(full) else 0
        out.append(r if norm == 0 else (r / n if norm == 1 else (r / (n - abs(k)) if n - abs(k) > 0 else 0)))
    return np.array(out)


for norm in range(3):
    case("crosscorr(%s, %s, 3, 2, %d)" % (zel(x5), zel(x6[:3]), norm), xcorr(x5, x6[:3], 3, 2, norm))
case("crosscorr(%s, %s, 1, 6, 2)" % (zel(z3), zel(x5), ), xcorr(z3, x5, 1, 6, 2))
for name, norm in [("autocorrnormal", 0), ("autocorrbiased", 1), ("AutoCorrUnbiased", 2)]:
    case("%s(%s, 3)" % (name, zel(x6)), xcorr(x6, x6, 3, 0, norm))

case("dotprod(%s, %s)" % (zel(x5), zel(x5[::-1])), np.dot(x5, x5[::-1]))
case("dotprod(%s, %s)" % (zel(z3), zel(x6[:3])), np.dot(z3, x6[:3]))
case("dotprod(%s, %s, true)" % (zel(z3), zel(z3[::-1])), np.dot(z3, np.conj(z3[::-1])))
case("dotprod(%s, %s, false)" % (zel(z3), zel(z3[::-1])), np.dot(z3, z3[::-1]))
case("normalize(%s, 2, 0.5)" % zel(m23), (m23 - 2) / 0.5)
case("normalize(%s, 1+1i, 2)" % zel(x5), (x5 - (1 + 1j)) / 2)

# Running sums (down the columns of a matrix), lagged differences, cumulative trapezoid integration.
case("cumsum(%s)" % zel(z3), np.cumsum(z3))
case("cumsum(%s)" % zel(m23), np.cumsum(m23, axis=0))
case("difference(%s, 2)" % zel(x6), x6[2:] - x6[:-2])
m35 = np.arange(15.0).reshape(3, 5) ** 2
case("difference(%s, 2)" % zel(m35), m35[:, 2:] - m35[:, :-2])
case("integrate(%s)" % zel(x5), scipy.integrate.cumulative_trapezoid(x5, initial=0))
once = scipy.integrate.cumulative_trapezoid(x5, initial=0) + 2
case("integrate(%s, [2, -1])" % zel(x5), scipy.integrate.cumulative_trapezoid(once, initial=0) - 1)

# Polynomials, highest power first: numpy.polyval, numpy.roots (compared as sets), numpy.poly,
# scipy.signal.deconvolve.
p = np.array([2.0, -3.0, 0.5, 4.0])
case("polyeval(1.5, %s)" % zel(p), np.polyval(p, 1.5))
case("polyeval(1-2i, %s)" % zel(p), np.polyval(p, 1 - 2j))
case("PolyEval(%s, %s)" % (zel(x5), zel(p)), np.polyval(p, x5))
case("polyeval(2, %s)" % zel(z3), np.polyval(z3, 2))
case("polyroots(%s)" % zel(p), np.roots(p), True)
case("polyroots([0, 0, 1, -6, 11, -6, 0, 0])", np.roots([0, 0, 1, -6, 11, -6, 0, 0]), True)
case("polyroots(%s)" % zel(z3), np.roots(z3), True)
case("polycoeff([1, 2, -3.5])", np.poly([1, 2, -3.5]))
case("polycoeff([1+2i, 3, 1-2i])", np.poly([1 + 2j, 3, 1 - 2j]))
case("polycoeff(%s)" % zel(z3), np.poly(z3))
b = np.array([1.0, 4.0, -2.0, 0.5, 3.0])
a = np.array([2.0, -1.0, 0.5])
quotient, remainder = scipy.signal.deconvolve(b, a)
case("deconv(%s, %s, q, r)\\nq" % (zel(b), zel(a)), quotient)
case("deconv(%s, %s, q, r)\\nr" % (zel(b), zel(a)), remainder)

with open(OUT, "w") as f:
    f.write("// Generated by reference/signal_functions.py (NumPy %s, SciPy %s); do not edit.\n" %
            (np.__version__, scipy.__version__))
    f.write("\n".join(rows) + "\n")
