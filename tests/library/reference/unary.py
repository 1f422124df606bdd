#!/usr/bin/python3
# Reference values of the one-argument element-wise functions, computed with NumPy and SciPy (Debian's
# python3-numpy 1.24 and python3-scipy 1.10; scripts/install-reference-tools installs them). Writes
# unary.inc next to this script: C++ rows {"name", "kinds", arg re, arg im, expected re, expected im}, kinds
# being the argument's and the result's (r real, c complex), for tests/library/unary_test.cpp.
# Run: /usr/bin/python3 tests/library/reference/unary.py
import math
import os

import numpy as np
import scipy.special as sp

np.seterr(all="ignore")
inf, nan = math.inf, math.nan


def parts(f):
    """f applied to the real and imaginary part of a complex value."""
    return lambda z: complex(f(z.real), f(z.imag))


# name -> (real function, complex function or None, result kind: "same", "real" or "complex", real points,
# complex points). Points: typical values, domain edges, branch cuts (both sides, by the sign of a zero
# imaginary part), infinities and NaN.
FUNCS = {
    "exp2": (np.exp2, np.exp2, "same", [3, -1, 0.5, inf, -inf], [1 + 1j]),
    "exp10": (lambda x: np.power(10.0, x), lambda z: np.power(10.0, z), "same", [3, -2, 0.5], [0.5 - 1j]),
    "log10": (np.log10, np.log10, "same", [1000, 0.5, 0, -1], [-10 + 0j, complex(-10, -0.0)]),
    "log2": (np.log2, np.log2, "same", [8, 0.1, 0, -1], [1j]),
    "cbrt": (np.cbrt, lambda z: np.power(z, 1 / 3), "same", [27, -8, 2, -inf], [-8 + 0j, 1 + 1j]),
    "sec": (lambda x: 1 / np.cos(x), lambda z: 1 / np.cos(z), "same", [0, 1, math.pi], [1 + 1j]),
    "csc": (lambda x: 1 / np.sin(x), lambda z: 1 / np.sin(z), "same", [0.5, -1, 0], [1 - 2j]),
    "cot": (lambda x: 1 / np.tan(x), lambda z: 1 / np.tan(z), "same", [0.5, 0, -0.0], [0.5 + 0.5j]),
    "arcsin": (np.arcsin, np.arcsin, "same", [0.5, -1, 2], [2 + 0j, complex(2, -0.0), -2 + 0j, 0.5 + 1j]),
    "arccos": (np.arccos, np.arccos, "same", [0.5, -1, 2], [2 + 0j, complex(2, -0.0), 0.5 + 1j]),
    "arctan": (np.arctan, np.arctan, "same", [1, -3, inf], [2j, complex(-0.0, 2), 1 + 1j]),
    "arcsec": (lambda x: np.arccos(np.divide(1.0, x)), lambda z: np.arccos(1 / z), "same",
        [2, -2, 0.5, inf], [0.5 + 0j, complex(0.5, -0.0), 1 + 1j]),
    "arccsc": (lambda x: np.arcsin(np.divide(1.0, x)), lambda z: np.arcsin(1 / z), "same",
        [2, -2, 0.5], [0.5 + 0j, complex(-0.5, -0.0), 1 - 1j]),
    "arccot": (lambda x: np.arctan(np.divide(1.0, x)), lambda z: np.arctan(1 / z), "same",
        [2, -2, 0, -0.0, inf], [0.5j, complex(-0.0, 0.5), 1 + 2j]),
    "sinh": (np.sinh, np.sinh, "same", [1, -0.5, inf], [1 + 2j]),
    "cosh": (np.cosh, np.cosh, "same", [1, -2], [1 - 2j]),
    "tanh": (np.tanh, np.tanh, "same", [0.5, -20, -inf], [0.5 + 1j]),
    "sech": (lambda x: 1 / np.cosh(x), lambda z: 1 / np.cosh(z), "same", [1, 800], [1 + 1j]),
    "csch": (lambda x: np.divide(1.0, np.sinh(x)), lambda z: 1 / np.sinh(z), "same", [1, -0.25, 0], [1 + 1j]),
    "coth": (lambda x: np.divide(1.0, np.tanh(x)), lambda z: 1 / np.tanh(z), "same", [1, -0.25, 0], [1 + 1j]),
    "arcsinh": (np.arcsinh, np.arcsinh, "same", [1, -1e6], [2j, complex(-0.0, 2), 1 + 1j]),
    "arccosh": (np.arccosh, np.arccosh, "same", [2, 1, 0.5], [0.5 + 0j, complex(0.5, -0.0), -2 + 0j, 1 + 1j]),
    "arctanh": (np.arctanh, np.arctanh, "same", [0.5, 1, 2], [2 + 0j, complex(2, -0.0), 1 + 1j]),
    "arcsech": (lambda x: np.arccosh(np.divide(1.0, x)), lambda z: np.arccosh(1 / z), "same",
        [0.5, 1, 2], [2 + 0j, complex(2, -0.0), 1 + 1j]),
    "arccsch": (lambda x: np.arcsinh(np.divide(1.0, x)), lambda z: np.arcsinh(1 / z), "same",
        [2, -0.5], [0.5j, complex(0.0, -0.5), 1 + 1j]),
    "arccoth": (lambda x: np.arctanh(np.divide(1.0, x)), lambda z: np.arctanh(1 / z), "same",
        [2, -3, 0.5], [0.5 + 0j, complex(0.5, -0.0), 1 + 1j]),
    "degtorad": (np.deg2rad, None, "same", [180, -45, 1e300], []),
    "radtodeg": (np.rad2deg, None, "same", [math.pi, -1], []),
    "fixangle": (lambda x: math.remainder(x, 2 * math.pi) if math.isfinite(x) else nan, None, "same",
        [10, -10, 3 * math.pi, 1e6, math.pi, inf], []),
    "expj": (lambda x: np.exp(1j * x), None, "complex", [1, -math.pi / 3], []),
    "real": (np.real, np.real, "real", [-2.5], [3 - 4j]),
    "imag": (np.imag, np.imag, "real", [-2.5], [3 - 4j]),
    "cplx": (complex, complex, "complex", [-2.5], [3 - 4j]),
    "conj": (np.conj, np.conj, "same", [-2.5], [3 - 4j]),
    "flip": (lambda x: complex(0, x), lambda z: complex(z.imag, z.real), "complex", [-2.5], [3 - 4j]),
    "norm": (lambda x: x * x, lambda z: abs(z) ** 2, "real", [-3], [3 - 4j]),
    "arg": (np.angle, np.angle, "real", [2, -2, -0.0], [-1 + 0j, complex(-1, -0.0), 1 - 1j]),
    "sgn": (np.sign, lambda z: z / abs(z) if z != 0 else 0j, "same", [-3, 0.2, 0, nan], [3 - 4j, 0j]),
    "ceil": (np.ceil, parts(np.ceil), "same", [2.5, -2.5, -0.5], [2.5 - 2.5j]),
    "floor": (np.floor, parts(np.floor), "same", [2.5, -2.5], [2.5 - 2.5j]),
    "round": (np.round, parts(np.round), "same", [0.5, 1.5, 2.5, -2.5, -3.7], [2.5 - 3.5j]),
    "trunc": (np.trunc, parts(np.trunc), "same", [2.7, -2.7], [2.5 - 2.5j]),
    "frac": (lambda x: np.modf(x)[0], parts(lambda x: np.modf(x)[0]), "same",
        [2.75, -2.75, 5], [2.75 - 1.25j]),
    "gamma": (sp.gamma, sp.gamma, "same",
        [5, 0.5, -1.5, 0, -0.0, -2, 171.5, 172, nan], [1 + 1j, 0.5 - 2j, -1.5 + 2j, -30.3 + 0.7j, 20 + 30j, 4 + 0j]),
    "lngamma": (sp.gammaln, sp.loggamma, "same",
        [5, 0.5, -1.5, -2.5, 0, 1e300, inf], [1 + 1j, 0.5 - 2j, -2.5 + 0.5j, -2.3 + 0j, complex(-2.3, -0.0), -30.3 + 0.7j, -7.7 - 300j, 150 + 200j]),
    "erf": (sp.erf, None, "same", [0.5, -1, inf, -inf, nan], []),
    "erfc": (sp.erfc, None, "same", [0.5, -1, 10, -inf], []),
    "erfinv": (sp.erfinv, None, "same", [0.5, -0.9, 1, -1, 2, nan], []),
}


def num(x):
    """A C++ literal of the double x (integers without a point)."""
    if math.isnan(x):
        return "kNaN"
    if math.isinf(x):
        return "kInf" if x > 0 else "-kInf"
    if x == int(x) and abs(x) < 1e15 and not (x == 0 and math.copysign(1, x) < 0):
        return str(int(x))
    return repr(float(x))


def row(name, arg, is_complex):
    real_f, cplx_f, kind = FUNCS[name][:3]
    value = cplx_f(complex(arg)) if is_complex else real_f(np.float64(arg))
    value = complex(value)
    out_complex = kind == "complex" or (kind == "same" and is_complex)
    z = complex(arg)
    kinds = ("c" if is_complex else "r") + ("c" if out_complex else "r")
    return '{"%s", "%s", %s, %s, %s, %s},' % (name, kinds, num(z.real), num(z.imag), num(value.real),
                                              num(value.imag))


rows = []
for name in FUNCS:
    for r in [row(name, x, False) for x in FUNCS[name][3]] + [row(name, z, True) for z in FUNCS[name][4]]:
        if r not in rows:
            rows.append(r)
lines = ["// Generated by unary.py from NumPy %s and SciPy; do not edit." % np.__version__,
         "// {name, argument and result kind (r real, c complex), argument re, im, expected re, im}"]
line = ""
for r in rows:
    if len(line) + len(r) + 1 > 110:
        lines.append(line)
        line = ""
    line = (line + " " + r).strip()
lines.append(line)
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "unary.inc"), "w") as out:
    out.write("\n".join(lines) + "\n")
