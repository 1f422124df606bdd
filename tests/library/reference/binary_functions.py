#!/usr/bin/python3
# Reference values for tests/library/binary_math_test.cpp, computed with NumPy (Debian's python3-numpy;
# scripts/install-reference-tools installs it). Writes binary_functions.inc next to this script:
#   /usr/bin/python3 tests/library/reference/binary_functions.py
import math
import os

import numpy as np

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "binary_functions.inc")


def num(x):
    x = float(x)
    if math.isnan(x):
        return "kNaN"
    if math.isinf(x):
        return "kInf" if x > 0 else "-kInf"
    if x == int(x) and abs(x) < 1e15 and not (x == 0 and math.copysign(1, x) < 0):
        return str(int(x))
    return repr(x)


def packed(rows):
    """The rows, several to a line of at most 110 characters."""
    lines, line = [], ""
    for r in rows:
        r = r.strip()
        if line and len(line) + len(r) + 1 > 110:
            lines.append(line)
            line = ""
        line = (line + " " + r).strip()
    return "\n".join(lines + [line])


def cplx(z):
    z = complex(z)
    return "{%s, %s}" % (num(z.real), num(z.imag))


# Operands: (kind, value); kind 'd' double, 'i' integer, 'c' complex.
def operand(kind, v):
    return "'%s', %s" % (kind, cplx(v))


pairs = []  # (function, x, y, expected)


def pair(name, x, y, expected):
    pairs.append("    {\"%s\", %s, %s, %s}," % (name, operand(*x), operand(*y), cplx(expected)))


# logN(x, n): logarithm of x to base n. Reals stay real (NaN outside the domain), complex operands use
# NumPy's principal logarithm (emath.logn(n, x) is log base n of x).
for x, n in [(8, 2), (100, 10), (2, 8), (0.5, 4), (7, 7), (10, 0.5)]:
    pair("logN", ("d", x), ("d", n), np.log(x) / np.log(n))
pair("logN", ("i", 81), ("i", 3), np.log(81) / np.log(3))
pair("logN", ("d", -8), ("d", 2), np.nan)
pair("logN", ("d", -8), ("c", 2), np.emath.logn(2 + 0j, -8 + 0j))
pair("logN", ("c", 1j), ("d", 10), np.emath.logn(10, 1j))
pair("logN", ("c", -1 + 1j), ("c", 2j), np.emath.logn(2j, -1 + 1j))
# arctan2(x, y): the angle whose tangent is x/y (numpy.arctan2(x, y)).
for x, y in [(1, 1), (1, -1), (-1, -1), (-1, 1), (0, -1), (2, 0), (-2, 0), (0.5, 3)]:
    pair("arctan2", ("d", x), ("d", y), np.arctan2(x, y))
pair("arctan2", ("i", 3), ("i", -4), np.arctan2(3, -4))
# pythag(x, y) = sqrt(x^2 + y^2): numpy.hypot for reals, the principal square root for complex operands.
for x, y in [(3, 4), (-5, 12), (1e200, 1e200), (0, 0), (1.5, -2)]:
    pair("pythag", ("d", x), ("d", y), np.hypot(x, y))
pair("pythag", ("i", 8), ("d", 15), np.hypot(8, 15))
for x, y in [(1j, 1), (3, 4j), (1 + 2j, 2 - 1j)]:
    pair("pythag", ("c" if isinstance(x, complex) else "d", x), ("c" if isinstance(y, complex) else "d", y),
         np.sqrt(np.complex128(x) ** 2 + np.complex128(y) ** 2))
# polartocart(amplitude, phase) = amplitude * e^(i phase).
for a, p in [(2, np.pi / 2), (1, np.pi), (3, -np.pi / 4), (0, 1), (-2, 0.5)]:
    pair("polartocart", ("d", a), ("d", p), a * np.exp(1j * p))
pair("polartocart", ("i", 2), ("i", 1), 2 * np.exp(1j))
# cplx(re, im) = re + im i.
pair("cplx", ("d", 1.5), ("d", -2), complex(1.5, -2))
pair("cplx", ("d", -0.5), ("d", 4), complex(-0.5, 4))
pair("cplx", ("i", 3), ("d", 0.25), complex(3, 0.25))

# root(x, k, n): the k-th of the n complex n-th roots, root 0 being NumPy's principal power x^(1/n) and
# root k that times e^(2 pi i k / n). Each is checked to be a root of z^n = x.
roots = []
for x, k, n in [(-8, 1, 3), (-8, 0, 3), (8, 0, 3), (8, 2, 3), (16, 1, 4), (1j, 0, 2), (-1, 1, 2), (2, 5, 3),
                (4, -1, 2), (27, 0, -3)]:
    z = np.power(np.complex128(x), 1.0 / n) * np.exp(2j * np.pi * k / n)
    assert abs(z ** n - x) < 1e-9 * max(1, abs(x))
    roots.append("    {%s, %d, %d, %s}," % (cplx(x), k, n, cplx(z)))

# (first, second) = sincos / sinhcosh / carttopolar of a real or complex scalar.
outputs = []
for x in [0, 1, -2.5, np.pi / 6]:
    outputs.append("    {\"sincos\", %s, %s, %s}," % (operand("d", x), num(np.sin(x)), num(np.cos(x))))
    outputs.append("    {\"sinhcosh\", %s, %s, %s}," % (operand("d", x), num(np.sinh(x)), num(np.cosh(x))))
for x, kind in [(-3, "d"), (2, "i"), (3 + 4j, "c"), (-1 - 1j, "c"), (-2j, "c")]:
    outputs.append("    {\"carttopolar\", %s, %s, %s}," % (operand(kind, x), num(np.abs(x)), num(np.angle(x))))

# gcd and lcm as numpy.gcd and numpy.lcm (int64): never negative, gcd(0, 0) = 0, lcm(x, 0) = 0.
divisors = []
for x, y in [(12, 18), (-12, 18), (12, -18), (0, 5), (0, 0), (7, 13), (2**40, 2**35 * 3), (-2**62, 2**61)]:
    divisors.append("    {\"gcd\", %d, %d, %d}," % (x, y, np.gcd(np.int64(x), np.int64(y))))
for x, y in [(4, 6), (-4, 6), (0, 9), (21, 6), (2**31, 3), (-7, -7)]:
    divisors.append("    {\"lcm\", %d, %d, %d}," % (x, y, np.lcm(np.int64(x), np.int64(y))))

# remdiv(x, y): quotient truncated toward zero and the remainder with the dividend's sign (numpy.fmod).
remdivs = []
for x, y in [(7, 2), (-7, 2), (7, -2), (-7, -2), (6, 3), (0, 5), (2**40 + 1, 2**20)]:
    r = int(np.fmod(np.int64(x), np.int64(y)))
    q = (x - r) // y
    assert q * y + r == x and abs(r) < abs(y)
    remdivs.append("    {%d, %d, %d, %d}," % (x, y, q, r))

# threshbottom / threshtop of reals (numpy.maximum / numpy.minimum) and of complex values, clipped on the
# modulus: z scaled to modulus `level` keeping its phase (numpy.exp(1j * numpy.angle(z)) * level).
thresholds = []
for x, level in [(1, 0), (-2, 0), (3, 3), (-1.5, -1)]:
    thresholds.append("    {\"threshbottom\", %s, %s, %s}," % (operand("d", x), num(level), cplx(np.maximum(x, level))))
    thresholds.append("    {\"threshtop\", %s, %s, %s}," % (operand("d", x), num(level), cplx(np.minimum(x, level))))
for z, level in [(3 + 4j, 10), (3 + 4j, 2), (-1j, 0.5), (0j, 2), (1 + 1j, np.sqrt(2))]:
    clipped_up = z if abs(z) >= level else (level if z == 0 else np.exp(1j * np.angle(z)) * level)
    clipped_down = z if abs(z) <= level else np.exp(1j * np.angle(z)) * level
    thresholds.append("    {\"threshbottom\", %s, %s, %s}," % (operand("c", z), num(level), cplx(clipped_up)))
    thresholds.append("    {\"threshtop\", %s, %s, %s}," % (operand("c", z), num(level), cplx(clipped_down)))

# The row types, for a test that includes this file inside its namespace (after <complex>, <cstdint> and
# <limits>, with TCplx = std::complex<double>).
HEADER = """constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
struct PairRef { const char* name; char xKind; TCplx x; char yKind; TCplx y; TCplx expected; };
struct RootRef { TCplx x; int k, n; TCplx expected; };
struct OutputRef { const char* name; char xKind; TCplx x; double first, second; };
struct DivisorRef { const char* name; std::int64_t x, y, expected; };
struct RemDivRef { std::int64_t x, y, quotient, remainder; };
struct ThresholdRef { const char* name; char xKind; TCplx x; double level; TCplx expected; };
"""

with open(OUT, "w") as f:
    f.write("// Generated by binary_functions.py with NumPy %s; do not edit.\n" % np.__version__)
    f.write(HEADER)
    f.write("// Pairs: function, x (kind 'd' double, 'i' integer, 'c' complex; value), y, expected value.\n")
    f.write("inline const PairRef kPairRefs[] = {\n%s\n};\n" % packed(pairs))
    f.write("// root(x, k, n): x, k, n, expected.\n")
    f.write("inline const RootRef kRootRefs[] = {\n%s\n};\n" % packed(roots))
    f.write("// Two outputs: function, x, first output, second output.\n")
    f.write("inline const OutputRef kOutputRefs[] = {\n%s\n};\n" % packed(outputs))
    f.write("// gcd and lcm: function, x, y, expected.\n")
    f.write("inline const DivisorRef kDivisorRefs[] = {\n%s\n};\n" % packed(divisors))
    f.write("// remdiv: x, y, quotient, remainder.\n")
    f.write("inline const RemDivRef kRemDivRefs[] = {\n%s\n};\n" % packed(remdivs))
    f.write("// Thresholds: function, x, level, expected.\n")
    f.write("inline const ThresholdRef kThresholdRefs[] = {\n%s\n};\n" % packed(thresholds))
