#!/usr/bin/python3
# Reference values for tests/library/matrix_functions_test.cpp (construction, rearrangement, linear algebra),
# computed with NumPy and SciPy (Debian's python3-numpy and python3-scipy; scripts/install-reference-tools
# installs them). Writes matrices.inc next to this script:
#   /usr/bin/python3 tests/library/reference/matrices.py
# Arguments are written in the tests' value notation ([1,2;3,4] a matrix, [1,2] a vector, i[...] / u8[...]
# integer kinds, b[...] boolean kinds, 'text' strings); exact results as the text the tests show a value as.
import math
import os

import numpy as np
import scipy
import scipy.linalg as sl

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "matrices.inc")


def num(x):
    x = float(x)
    if math.isnan(x):
        return "NAN"
    return "%.15g" % x if x != 0 else "0"


def cplx(z):
    z = complex(z)
    return "%s%s%si" % (num(z.real), "-" if z.imag < 0 else "+", num(abs(z.imag)))


def cell(x):
    return cplx(x) if np.iscomplexobj(x) else num(x)


# Value notation of an argument: a 1-D array is a vector, a 2-D array a matrix (one row: "[..;]").
def arg(a, prefix=""):
    a = np.asarray(a)
    if a.ndim == 1:
        return "%s[%s]" % (prefix, ",".join(cell(x) for x in a))
    rows = ";".join(",".join(cell(x) for x in r) for r in a)
    return "%s[%s%s]" % (prefix, rows, ";" if a.shape[0] == 1 else "")


# The text a result is shown as: type name, then the elements (rows separated by "; ", columns by ",").
def show(a, kind="real"):
    a = np.asarray(a)
    name = {"real": "", "int": "integer ", "bool": "bool "}[kind]
    if a.ndim == 1:
        return "%svector %s" % (name, "; ".join(cell(x) for x in a))
    return "%smatrix %s" % (name, "; ".join(",".join(cell(x) for x in r) for r in a))


exact = []  # (function, [arguments], expected text)
numeric = []  # (function, [arguments], expected values: complex ones as re, im pairs)


def case(fn, args, expected):
    exact.append('    {"%s", {%s}, "%s"},' % (fn, ", ".join('"%s"' % a for a in args), expected))


# Imaginary parts below 1e-12 of the largest element are rounding (SciPy's matrix functions answer in
# complex for real matrices whose principal power is real) and are dropped.
def values(fn, args, expected):
    flat = np.asarray(expected).ravel()
    if np.iscomplexobj(flat) and np.all(np.abs(flat.imag) <= 1e-12 * np.max(np.abs(flat))):
        flat = flat.real
    parts = [repr(float(v)) for z in flat for v in ((z.real, z.imag) if np.iscomplexobj(flat) else (z,))]
    numeric.append('    {"%s", {%s}, {%s}},' % (fn, ", ".join('"%s"' % a for a in args), ", ".join(parts)))


m23 = np.array([[1.0, 2, 3], [4, 5, 6]])
# ---- construction --------------------------------------------------------------------------------------
case("zeros", ["3"], show(np.zeros(3)))
case("Ones", ["2", "3"], show(np.ones((2, 3))))
case("eye", ["2", "3"], show(np.eye(2, 3)))
case("ramp", ["4", "1", "0.5"], show(1 + 0.5 * np.arange(4)))
case("ramp", ["3", "1", "2i"], show(1 + 2j * np.arange(3)))
case("primes", ["8"], show([p for p in range(2, 20) if all(p % d for d in range(2, p))]))
case("hankel", ["[1,2,3]"], show(sl.hankel([1.0, 2, 3])))
case("Toeplitz", ["[1,2,3]"], show(sl.toeplitz([1.0, 2, 3])))
r = np.array([2, 1 + 1j, 3j])  # first row r, first column conj(r) below the real diagonal
case("toeplitz", [arg(r)], show(sl.toeplitz(np.conj(r), r)))
case("pascl", ["4"], show(sl.pascal(4).astype(float)))
case("vandermonde", ["3", "[2,-1,0.5]"], show(np.vander([2, -1, 0.5], 3)))
case("vandermonde", ["2", "[1+1i,2]"], show(np.vander([1 + 1j, 2], 2)))
case("kron", ["[1,2]", "[3,4,5]"], show(np.kron([1.0, 2], [3.0, 4, 5]).reshape(2, 3)))
case("kron", ["u8[200,3]", "u8[2]"], show(np.clip(np.kron([200, 3], [2]), 0, 255).reshape(2, 1), "int"))
case("kron", ["i16[-3,2]", "u8[4,5]"], show(np.kron([-3, 2], [4, 5]).reshape(2, 2), "int"))
# ---- rearrangement -------------------------------------------------------------------------------------
case("reverse", ["[1,2,3]"], show(np.flip([1.0, 2, 3])))
case("Reverse", [arg(m23)], show(np.fliplr(m23)))
case("reverse", ["b[1,0,0]"], show(np.flip([1, 0, 0]), "bool"))
case("reverse", ["2.5"], "double 2.5")
case("rotate", ["[1,2,3,4]", "1"], show(np.roll([1.0, 2, 3, 4], 1)))
case("rotate", ["i[1,2,3,4]", "-5"], show(np.roll([1, 2, 3, 4], -5), "int"))
case("rotate90", [arg(m23)], show(np.rot90(m23, -1)))
case("flipver", ["i[1,2;3,4]"], show(np.flipud([[1, 2], [3, 4]]), "int"))
case("FlipHor", ["b[1,0;1,1]"], show(np.fliplr([[1, 0], [1, 1]]), "bool"))
case("sortascend", ["[3,nan,-1,2]"], show(np.sort([3, np.nan, -1, 2])))
case("sortdescend", ["[3,nan,-1,2]"], show(-np.sort(-np.array([3, np.nan, -1, 2]))))
# Complex values in the order of min and max (modulus, then argument); those with a NaN part last, in
# NumPy's order of them.
z = np.array([2 + 1j, complex(1, np.nan), -1 - 5j, 1 + 2j, complex(np.nan, 0), -2 + 1j])
finite = sorted((v for v in z if not np.isnan(v)), key=lambda v: (abs(v), np.angle(v)))
nans = list(np.sort([v for v in z if np.isnan(v)]))
case("sortascend", [arg(z)], show(np.array(finite + nans)))
case("sortdescend", [arg(z)], show(np.array(finite[::-1] + nans)))
case("SortAscend", ["i[3,1,2;9,7,8]"], show(np.sort([[3, 1, 2], [9, 7, 8]]), "int"))
rows = np.array([[2.0, 1], [1, 2], [2, 3], [1, 4], [3, 5]])  # equal keys keep their order
case("sortascend", [arg(rows), "0"], show(rows[np.argsort(rows[:, 0], kind="stable")]))
case("sortdescend", [arg(rows), "0"], show(rows[np.argsort(-rows[:, 0], kind="stable")]))
case("diag", [arg(m23), "1"], show(np.diagonal(m23, 1)))
case("diag", ["i[1,2,3;4,5,6]", "-1"], show(np.diagonal([[1, 2, 3], [4, 5, 6]], -1), "int"))
case("Diag", [arg(m23), "3"], "vector")
case("uppertriangle", [arg(m23)], show(np.triu(m23)))
case("uppertriangle", [arg(m23), "'DIAG'"], show(np.triu(m23)))
case("UpperTriangle", [arg(m23), "'none'"], show(np.triu(m23, 1)))
case("lowertriangle", ["i[1,2,3;4,5,6]", "'x'"], show(np.tril([[1, 2, 3], [4, 5, 6]], -1), "int"))
# ---- linear algebra ------------------------------------------------------------------------------------
sym = np.array([[4.0, 1, 2], [1, 3, 0], [2, 0, 5]])
gen = np.array([[1.0, 2, 0], [-3, 1, 1], [0.5, 0, 2]])  # one real and two complex eigenvalues
pos = np.array([[5.0, 1, 0], [2, 4, 1], [0, 1, 3]])  # real eigenvalues, all positive
neg = np.array([[1.0, 2], [3, 4]])  # a negative eigenvalue: complex principal powers
herm = np.array([[2, 1 - 1j], [1 + 1j, 3]])
cgen = np.array([[1 + 1j, 2], [0.5j, -1]])
case("cholesky", [arg(sym)], "bool True")
case("cholesky", [arg(neg)], "bool False")
case("Cholesky", [arg(herm)], "bool True")
values("determinant", [arg(gen)], np.linalg.det(gen))
values("determinant", [arg(cgen)], np.linalg.det(cgen))
values("determinant", ["[1,2;2,4]"], np.linalg.det(np.array([[1.0, 2], [2, 4]])))
values("eig", [arg(sym)], np.linalg.eigvalsh(sym))
values("eig", [arg(herm)], np.linalg.eigvalsh(herm))
values("eig", [arg(gen)], np.linalg.eigvals(gen))
values("eig", [arg(cgen)], np.linalg.eigvals(cgen))
values("svd", [arg(m23)], np.linalg.svd(m23, compute_uv=False))
values("SVD", [arg(cgen)], np.linalg.svd(cgen, compute_uv=False))
b = np.array([1.0, 2, 4])
rank2 = np.array([[1.0, 2, 3], [2, 4, 6], [1, 0, 1]])
values("svdsolve", [arg(rank2), arg(b), "?"], np.linalg.lstsq(rank2, b, rcond=1e-9)[0])
values("svdsolve", [arg(pos), arg(np.eye(3)[:, :2]), "?", "0.5"],
       np.linalg.lstsq(pos, np.eye(3)[:, :2], rcond=0.5)[0])
values("zelintpower", [arg(gen), "3"], np.linalg.matrix_power(gen, 3))
values("ZelIntPower", [arg(cgen), "-2"], np.linalg.matrix_power(cgen, -2))
values("zelpower", [arg(pos), "0.3"], sl.fractional_matrix_power(pos, 0.3))
values("zelpower", [arg(gen), "-1.25"], sl.fractional_matrix_power(gen, -1.25))
values("zelpower", [arg(sym), "2.5"], sl.fractional_matrix_power(sym, 2.5))
values("ZelPower", [arg(neg), "0.5"], sl.fractional_matrix_power(neg, 0.5))
values("zelsqrt", [arg(cgen), "0"], sl.sqrtm(cgen))

HEADER = """struct ExactRef { const char* name; std::vector<std::string> args; const char* expected; };
struct NumericRef { const char* name; std::vector<std::string> args; std::vector<double> expected; };
"""

with open(OUT, "w") as f:
    f.write("// Generated by matrices.py with NumPy %s and SciPy %s; do not edit.\n" % (np.__version__,
                                                                                     scipy.__version__))
    f.write(HEADER)
    f.write("// Function, arguments, the result as the tests show it.\n")
    f.write("inline const ExactRef kExactRefs[] = {\n%s\n};\n" % "\n".join(exact))
    f.write("// Function, arguments, the result's elements in row-major order (complex: re, im).\n")
    f.write("inline const NumericRef kNumericRefs[] = {\n%s\n};\n" % "\n".join(numeric))
