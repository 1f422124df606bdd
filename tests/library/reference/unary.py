#!/usr/bin/python3
# Reference values of the one-argument element-wise functions, computed with NumPy and SciPy (Debian's
# python3-numpy 1.24 and python3-scipy 1.10; scripts/install-reference-tools installs them). Writes
# unary.inc next to this script: C++ rows {"name", "kinds", arg re, arg im, expected re, expected im}, kinds
# being the argument's and the result's (r real, c complex), for tests/library/unary_test.cpp. Run: /usr/bin/python3 tests/library/reference/unary.py
import math
import os

import numpy as np
import scipy.special as sp

np.seterr(all="ignore")
inf, nan = math.inf, math.nan


def parts(f):
    """f applied to the real and imaginary part of a complex value."""
    return lambda z: complex(f(z.real), f(z.imag))


# name -> (real function, complex function or None, result kind: "same", "real" or "complex")
FUNCS = {
    "exp2": (np.exp2, np.exp2, "same"),
    "exp10": (lambda x: np.power(10.0, x), lambda z: np.power(10.0, z), "same"),
    "log10": (np.log10, np.log10, "same"),
    "log2": (np.log2, np.log2, "same"),
    "cbrt": (np.cbrt, lambda z: np.power(z, 1 / 3), "same"),
    "sec": (lambda x: 1 / np.cos(x), lambda z: 1 / np.cos(z), "same"),
    "csc": (lambda x: 1 / np.sin(x), lambda z: 1 / np.sin(z), "same"),
    "cot": (lambda x: 1 / np.tan(x), lambda z: 1 / np.tan(z), "same"),
    "arcsin": (np.arcsin, np.arcsin, "same"),
    "arccos": (np.arccos, np.arccos, "same"),
    "arctan": (np.arctan, np.arctan, "same"),
    "arcsec": (lambda x: np.arccos(np.divide(1.0, x)), lambda z: np.arccos(1 / z), "same"),
    "arccsc": (lambda x: np.arcsin(np.divide(1.0, x)), lambda z: np.arcsin(1 / z), "same"),
    "arccot": (lambda x: np.arctan(np.divide(1.0, x)), lambda z: np.arctan(1 / z), "same"),
    "sinh": (np.sinh, np.sinh, "same"),
    "cosh": (np.cosh, np.cosh, "same"),
    "tanh": (np.tanh, np.tanh, "same"),
    "sech": (lambda x: 1 / np.cosh(x), lambda z: 1 / np.cosh(z), "same"),
    "csch": (lambda x: np.divide(1.0, np.sinh(x)), lambda z: 1 / np.sinh(z), "same"),
    "coth": (lambda x: np.divide(1.0, np.tanh(x)), lambda z: 1 / np.tanh(z), "same"),
    "arcsinh": (np.arcsinh, np.arcsinh, "same"),
    "arccosh": (np.arccosh, np.arccosh, "same"),
    "arctanh": (np.arctanh, np.arctanh, "same"),
    "arcsech": (lambda x: np.arccosh(np.divide(1.0, x)), lambda z: np.arccosh(1 / z), "same"),
    "arccsch": (lambda x: np.arcsinh(np.divide(1.0, x)), lambda z: np.arcsinh(1 / z), "same"),
    "arccoth": (lambda x: np.arctanh(np.divide(1.0, x)), lambda z: np.arctanh(1 / z), "same"),
    "degtorad": (np.deg2rad, None, "same"),
    "radtodeg": (np.rad2deg, None, "same"),
    "fixangle": (lambda x: math.remainder(x, 2 * math.pi) if math.isfinite(x) else nan, None, "same"),
    "expj": (lambda x: np.exp(1j * x), None, "complex"),
    "real": (np.real, np.real, "real"),
    "imag": (np.imag, np.imag, "real"),
    "cplx": (complex, complex, "complex"),
    "conj": (np.conj, np.conj, "same"),
    "flip": (lambda x: complex(0, x), lambda z: complex(z.imag, z.real), "complex"),
    "norm": (lambda x: x * x, lambda z: abs(z) ** 2, "real"),
    "arg": (np.angle, np.angle, "real"),
    "sgn": (np.sign, lambda z: z / abs(z) if z != 0 else 0j, "same"),
    "ceil": (np.ceil, parts(np.ceil), "same"),
    "floor": (np.floor, parts(np.floor), "same"),
    "round": (np.round, parts(np.round), "same"),
    "trunc": (np.trunc, parts(np.trunc), "same"),
    "frac": (lambda x: np.modf(x)[0], parts(lambda x: np.modf(x)[0]), "same"),
    "gamma": (sp.gamma, sp.gamma, "same"),
    "lngamma": (sp.gammaln, sp.loggamma, "same"),
    "erf": (sp.erf, None, "same"),
    "erfc": (sp.erfc, None, "same"),
    "erfinv": (sp.erfinv, None, "same"),
}

# Points per function: typical values, domain edges, branch cuts (both sides, by the sign of a zero
# imaginary part), infinities and NaN.
REAL = {
    "exp2": [3, -1, 0.5, inf, -inf],
    "exp10": [3, -2, 0.5],
    "log10": [1000, 0.5, 0, -1],
    "log2": [8, 0.1, 0, -1],
    "cbrt": [27, -8, 2, -inf],
    "sec": [0, 1, math.pi],
    "csc": [0.5, -1, 0],
    "cot": [0.5, 0, -0.0],
    "arcsin": [0.5, -1, 2],
    "arccos": [0.5, -1, 2],
    "arctan": [1, -3, inf],
    "arcsec": [2, -2, 0.5, inf],
    "arccsc": [2, -2, 0.5],
    "arccot": [2, -2, 0, -0.0, inf],
    "sinh": [1, -0.5, inf],
    "cosh": [1, -2],
    "tanh": [0.5, -20, -inf],
    "sech": [1, 800],
    "csch": [1, -0.25, 0],
    "coth": [1, -0.25, 0],
    "arcsinh": [1, -1e6],
    "arccosh": [2, 1, 0.5],
    "arctanh": [0.5, 1, 2],
    "arcsech": [0.5, 1, 2],
    "arccsch": [2, -0.5],
    "arccoth": [2, -3, 0.5],
    "degtorad": [180, -45, 1e300],
    "radtodeg": [math.pi, -1],
    "fixangle": [10, -10, 3 * math.pi, 1e6, math.pi, inf],
    "expj": [1, -math.pi / 3],
    "real": [-2.5],
    "imag": [-2.5],
    "cplx": [-2.5],
    "conj": [-2.5],
    "flip": [-2.5],
    "norm": [-3],
    "arg": [2, -2, -0.0],
    "sgn": [-3, 0.2, 0, nan],
    "ceil": [2.5, -2.5, -0.5],
    "floor": [2.5, -2.5],
    "round": [0.5, 1.5, 2.5, -2.5, -3.7],
    "trunc": [2.7, -2.7],
    "frac": [2.75, -2.75, 5],
    "gamma": [5, 0.5, -1.5, 0, -0.0, -2, 171.5, 172, nan],
    "lngamma": [5, 0.5, -1.5, -2.5, 0, 1e300, inf],
    "erf": [0.5, -1, inf, -inf, nan],
    "erfc": [0.5, -1, 10, -inf],
    "erfinv": [0.5, -0.9, 1, -1, 2, nan],
}
COMPLEX = {
    "exp2": [1 + 1j],
    "exp10": [0.5 - 1j],
    "log10": [-10 + 0j, complex(-10, -0.0)],
    "log2": [1j],
    "cbrt": [-8 + 0j, 1 + 1j],
    "sec": [1 + 1j],
    "csc": [1 - 2j],
    "cot": [0.5 + 0.5j],
    "arcsin": [2 + 0j, complex(2, -0.0), -2 + 0j, 0.5 + 1j],
    "arccos": [2 + 0j, complex(2, -0.0), 0.5 + 1j],
    "arctan": [2j, complex(-0.0, 2), 1 + 1j],
    "arcsec": [0.5 + 0j, complex(0.5, -0.0), 1 + 1j],
    "arccsc": [0.5 + 0j, complex(-0.5, -0.0), 1 - 1j],
    "arccot": [0.5j, complex(-0.0, 0.5), 1 + 2j],
    "sinh": [1 + 2j],
    "cosh": [1 - 2j],
    "tanh": [0.5 + 1j],
    "sech": [1 + 1j],
    "csch": [1 + 1j],
    "coth": [1 + 1j],
    "arcsinh": [2j, complex(-0.0, 2), 1 + 1j],
    "arccosh": [0.5 + 0j, complex(0.5, -0.0), -2 + 0j, 1 + 1j],
    "arctanh": [2 + 0j, complex(2, -0.0), 1 + 1j],
    "arcsech": [2 + 0j, complex(2, -0.0), 1 + 1j],
    "arccsch": [0.5j, complex(0.0, -0.5), 1 + 1j],
    "arccoth": [0.5 + 0j, complex(0.5, -0.0), 1 + 1j],
    "real": [3 - 4j],
    "imag": [3 - 4j],
    "cplx": [3 - 4j],
    "conj": [3 - 4j],
    "flip": [3 - 4j],
    "norm": [3 - 4j],
    "arg": [-1 + 0j, complex(-1, -0.0), 1 - 1j],
    "sgn": [3 - 4j, 0j],
    "ceil": [2.5 - 2.5j],
    "floor": [2.5 - 2.5j],
    "round": [2.5 - 3.5j],
    "trunc": [2.5 - 2.5j],
    "frac": [2.75 - 1.25j],
    "gamma": [1 + 1j, 0.5 - 2j, -1.5 + 2j, -30.3 + 0.7j, 20 + 30j, 4 + 0j],
    "lngamma": [1 + 1j, 0.5 - 2j, -2.5 + 0.5j, -2.3 + 0j, complex(-2.3, -0.0), -30.3 + 0.7j, -7.7 - 300j,
                150 + 200j],
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
    real_f, cplx_f, kind = FUNCS[name]
    value = cplx_f(complex(arg)) if is_complex else real_f(np.float64(arg))
    value = complex(value)
    out_complex = kind == "complex" or (kind == "same" and is_complex)
    z = complex(arg)
    kinds = ("c" if is_complex else "r") + ("c" if out_complex else "r")
    return '{"%s", "%s", %s, %s, %s, %s},' % (name, kinds, num(z.real), num(z.imag), num(value.real),
                                              num(value.imag))


rows = []
for name in FUNCS:
    for r in [row(name, x, False) for x in REAL.get(name, [])] + [row(name, z, True) for z in COMPLEX.get(name, [])]:
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
