#!/usr/bin/python3
# Reference values of the probability words, computed with SciPy (Debian's python3-scipy 1.10 and
# python3-numpy; scripts/install-reference-tools installs them). Writes probability.inc next to this
# script with three tables for tests/library/probability_test.cpp:
#   kDistRows:  {"Stem", "parameters", discrete, {x}, {PDF(x)}, {CDF(x)}, {p}, {CDFInv(p)}}
#   kStatRows:  {"StatWord", "parameters", {mean, variance, skewness, excess kurtosis}}
#   kSpecialRows: {"expression", {re, im}}  (special functions; NaN for parameters outside the domain)
# Bose-Einstein and Fermi-Dirac, which SciPy lacks, are integrated numerically from their occupation
# functions (scipy.integrate.quad) and inverted by root finding (scipy.optimize.brentq).
# Run: /usr/bin/python3 tests/library/reference/probability.py
import math
import os

import numpy as np
import scipy
import scipy.integrate as si
import scipy.optimize as so
import scipy.special as sp
import scipy.stats as st

np.seterr(all="ignore")
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "probability.inc")
TAIL = [0.0, 1e-10, 0.3, 0.75, 1 - 1e-10, 1.0]


class Occupation:
    """A density proportional to 1/(e^((x-mu)/s) + sign) on [0, inf), integrated numerically."""

    def __init__(self, mu, s, sign):
        self.g = lambda x: 1 / (np.exp((x - mu) / s) + sign)
        self.norm = si.quad(self.g, 0, math.inf, epsabs=0, epsrel=1e-13)[0]
        self.a, self.b = 0.0, math.inf

    def pdf(self, x):
        return self.g(x) / self.norm if x >= 0 else 0.0

    def cdf(self, x):
        return si.quad(self.g, 0, x, epsabs=0, epsrel=1e-13, limit=200)[0] / self.norm if x > 0 else 0.0

    def ppf(self, p):
        if p == 0:
            return 0.0
        if p == 1:
            return math.inf
        hi = 1.0
        while self.cdf(hi) < p:
            hi *= 2
        return so.brentq(lambda x: self.cdf(x) - p, 0, hi, xtol=1e-15, rtol=1e-15)


# (stem, parameters as typed in a script, distribution, discrete, x points)
DISTS = [
    ("Beta", "2.5, 1.5", st.beta(2.5, 1.5), False, [-0.1, 0, 0.3, 0.9, 1, 1.2]),
    ("Bernoulli", "0.3", st.bernoulli(0.3), True, [-1, 0, 1, 2]),
    ("Binom", "10, 0.3", st.binom(10, 0.3), True, [-1, 0, 3, 10, 11]),
    ("BoseEinstein", "-0.5, 2", Occupation(-0.5, 2, -1), False, [-1, 0.1, 1, 10]),
    ("Cauchy", "1, 2", st.cauchy(1, 2), False, [-1e6, -1, 1, 5]),
    ("ChiSquare", "4", st.chi2(4), False, [-1, 0, 3, 50]),
    ("Erlang", "3, 2", st.erlang(3, scale=0.5), False, [-1, 0, 1.5, 20]),
    ("Exp", "2", st.expon(scale=2), False, [-1, 0, 1.5, 60]),
    ("FatigueLife", "1, 0.5, 2", st.fatiguelife(0.5, loc=1, scale=2), False, [0.5, 1, 2, 3, 12]),
    ("F", "4, 7", st.f(4, 7), False, [-1, 0, 0.8, 40]),
    ("FermiDirac", "1, 0.5", Occupation(1, 0.5, 1), False, [-1, 0.2, 1, 8]),
    ("Gamma", "2.5, 1.5", st.gamma(2.5, scale=1.5), False, [-1, 0, 2, 40]),
    ("Gamma", "1, 2", st.gamma(1, scale=2), False, [0, 1]),
    ("GenExtValue", "0.2, 1, 2", st.genextreme(-0.2, loc=1, scale=2), False, [-10, -3, 1, 4, 100]),
    ("GenExtValue", "-0.25, 1, 2", st.genextreme(0.25, loc=1, scale=2), False, [-5, 1, 8.5, 9.5]),
    ("GenPareto", "0.3, 1, 2", st.genpareto(0.3, loc=1, scale=2), False, [0, 1, 2.5, 100]),
    ("GenPareto", "-0.5, 1, 2", st.genpareto(-0.5, loc=1, scale=2), False, [1, 2.5, 4.5, 6]),
    ("Geometric", "0.3", st.geom(0.3, loc=-1), True, [-1, 0, 1, 4, 60]),
    ("Gumbel", "1, 2, false", st.gumbel_r(1, 2), False, [-5, 0, 1, 4, 40]),
    ("Gumbel", "1, 2, true", st.gumbel_l(1, 2), False, [-40, -2, 1, 4, 5]),
    ("HypGeometric", "20, 7, 12", st.hypergeom(20, 7, 12), True, [-1, 0, 3, 7, 8]),
    ("InverseChiSquare", "5", st.invgamma(2.5, scale=0.5), False, [-1, 0, 0.01, 0.3, 40]),
    ("InverseGaussian", "2, 3", st.invgauss(2 / 3, scale=3), False, [-1, 0, 0.05, 1.5, 30]),
    ("JohnsonSB", "0.5, 1.5, 3, 1", st.johnsonsb(0.5, 1.5, loc=1, scale=3), False, [0.5, 1, 1.02, 2, 3.9, 4]),
    ("JohnsonUB", "0.5, 1.5, 3, 1", st.johnsonsu(0.5, 1.5, loc=1, scale=3), False, [-300, -1, 1, 4, 300]),
    ("Laplace", "1, 2", st.laplace(1, 2), False, [-40, 0, 1, 3]),
    ("Logarithmic", "0.6", st.logser(0.6), True, [0, 1, 2, 5, 40]),
    ("Logistic", "1, 2", st.logistic(1, 2), False, [-60, 0, 1, 3]),
    ("LogNormal", "0.5, 0.8", st.lognorm(0.8, scale=math.exp(0.5)), False, [-1, 0, 0.1, 2, 40]),
    ("LogWeibull", "1, 2", st.gumbel_r(1, 2), False, [-5, 0, 1, 4, 40]),
    ("Maxwell", "2", st.maxwell(scale=2), False, [-1, 0, 0.1, 3, 15]),
    ("NegBinom", "2.5, 0.4", st.nbinom(2.5, 0.4), True, [-1, 0, 1, 4, 60]),
    ("Normal", "1, 2", st.norm(1, 2), False, [-30, -1, 1, 2.5, 30]),
    ("Pareto", "3, 2", st.pareto(3, scale=2), False, [1, 2, 3, 500]),
    ("Poisson", "3.5", st.poisson(3.5), True, [-1, 0, 3, 30]),
    ("Power", "2.5, 3", st.powerlaw(2.5, scale=3), False, [-1, 0, 0.01, 1.5, 3, 4]),
    ("Rayleigh", "2", st.rayleigh(scale=2), False, [-1, 0, 0.01, 2, 15]),
    ("Student", "5", st.t(5), False, [-200, -1, 0, 2.5]),
    ("Triangular", "1, 4, 2", st.triang(1 / 3, loc=1, scale=3), False, [0, 1, 1.5, 2, 3, 4, 5]),
    ("Uniform", "1, 4", st.uniform(1, 3), False, [0, 1, 2.5, 4, 5]),
    ("UniformD", "6", st.randint(1, 7), True, [0, 1, 3, 6, 7]),
    ("Weibull", "2, 1.5", st.weibull_min(1.5, scale=2), False, [-1, 0, 0.01, 2, 12]),
    ("Zipf", "1.5, 20", st.zipfian(1.5, 20), True, [0, 1, 2, 10, 20, 21]),
]

# (statistics word, parameters, distribution)
STATS = [
    ("BetaStat", "2.5, 1.5", st.beta(2.5, 1.5)),
    ("BernoulliStat", "0.3", st.bernoulli(0.3)),
    ("BinomStat", "10, 0.3", st.binom(10, 0.3)),
    ("CauchyStat", "1, 2", None),
    ("ChiSquareStat", "4", st.chi2(4)),
    ("ErlangStat", "3, 2", st.erlang(3, scale=0.5)),
    ("ExponentStat", "2", st.expon(scale=2)),
    ("FatigueLifeStat", "1, 0.5, 2", st.fatiguelife(0.5, loc=1, scale=2)),
    ("FStat", "4, 10", st.f(4, 10)),
    ("GammaStat", "2.5, 1.5", st.gamma(2.5, scale=1.5)),
    ("GenExtValueStat", "0.1, 1, 2", st.genextreme(-0.1, loc=1, scale=2)),
    ("GenExtValueStat", "0, 1, 2", st.genextreme(0, loc=1, scale=2)),
    ("GenParetoStat", "0.1, 1, 2", st.genpareto(0.1, loc=1, scale=2)),
    ("GeometricStat", "0.3", st.geom(0.3, loc=-1)),
    ("GumbelStat", "1, 2", st.gumbel_r(1, 2)),
    ("HypGeometricStat", "20, 7, 12", st.hypergeom(20, 7, 12)),
    ("InverseChiSquareStat", "11", st.invgamma(5.5, scale=0.5)),
    ("InverseGaussianStat", "2, 3", st.invgauss(2 / 3, scale=3)),
    ("JohnsonSBStat", "0.5, 1.5, 3, 1", "quad", st.johnsonsb(0.5, 1.5, loc=1, scale=3)),
    ("JohnsonUBStat", "0.5, 1.5, 3, 1", st.johnsonsu(0.5, 1.5, loc=1, scale=3)),
    ("LaplaceStat", "1, 2", st.laplace(1, 2)),
    ("LogarithmicStat", "0.6", st.logser(0.6)),
    ("LogisticStat", "1, 2", st.logistic(1, 2)),
    ("LogNormalStat", "0.5, 0.8", st.lognorm(0.8, scale=math.exp(0.5))),
    ("LogWeibullStat", "1, 2", st.gumbel_r(1, 2)),
    ("MaxwellStat", "2", st.maxwell(scale=2)),
    ("NegBinomStat", "2.5, 0.4", st.nbinom(2.5, 0.4)),
    ("NormalStat", "1, 2", st.norm(1, 2)),
    ("ParetoStat", "5, 2", st.pareto(5, scale=2)),
    ("PoissonStat", "3.5", st.poisson(3.5)),
    ("PowerStat", "2.5, 3", st.powerlaw(2.5, scale=3)),
    ("RayleighStat", "2", st.rayleigh(scale=2)),
    ("StudentStat", "5", st.t(5)),
    ("TriangularStat", "1, 4, 2", st.triang(1 / 3, loc=1, scale=3)),
    ("UniformStat", "1, 4", st.uniform(1, 3)),
    ("UniformDStat", "6", st.randint(1, 7)),
    ("WeibullStat", "2, 1.5", st.weibull_min(1.5, scale=2)),
    ("ZipfStat", "1.5, 20", st.zipfian(1.5, 20)),
]


def quad_moments(d):
    """Mean, variance, skewness and excess kurtosis of a bounded continuous distribution by quadrature
    (more accurate than SciPy's own stats() for johnsonsb)."""
    lo, hi = d.support()
    moment = lambda f: si.quad(lambda x: f(x) * d.pdf(x), lo, hi, epsabs=0, epsrel=1e-13)[0]
    m = moment(lambda x: x)
    c = [moment(lambda x, n=n: (x - m) ** n) for n in (2, 3, 4)]
    return [m, c[0], c[1] / c[0] ** 1.5, c[2] / c[0] ** 2 - 3]


def lerch(z, s, a):
    """Φ(z, s, a) summed directly (|z| < 1)."""
    return math.fsum(z**k * (k + a) ** -s for k in range(2000))


def gamma_series(a, z):
    """P(a, z) for complex z from its power series z^a e^-z Σ z^n / Γ(a + n + 1)."""
    term = 1 / math.gamma(a + 1)
    total = term
    for n in range(1, 400):
        term *= z / (a + n)
        total += term
    return z**a * np.exp(-z) * total


zeta = lambda s: sp.zeta(s, 1)
dirichlet_beta = lambda s: 4.0**-s * (sp.zeta(s, 0.25) - sp.zeta(s, 0.75))

# (expression, expected value as a complex number)
SPECIAL = [
    ("Binomial(10, 3)", sp.comb(10, 3, exact=True)),
    ("Binomial(60, 30)", sp.comb(60, 30)),
    ("Binomial(5, 7)", 0),
    ("Beta(2.5, 1.5)", sp.beta(2.5, 1.5)),
    ("Beta(0.1, 30)", sp.beta(0.1, 30)),
    ("GammaSer(2.5, 1.5)", sp.gammainc(2.5, 1.5)),
    ("GammaFrac(2.5, 8)", sp.gammaincc(2.5, 8)),
    ("IGamma(0.5, 30)", sp.gammainc(0.5, 30)),
    ("JGamma(3, 0.25)", sp.gammaincc(3, 0.25)),
    ("JGamma(3, 40)", sp.gammaincc(3, 40)),
    ("IGamma(1.5, 0.5 + 1i)", gamma_series(1.5, 0.5 + 1j)),
    ("JGamma(1.5, 0.5 + 1i)", 1 - gamma_series(1.5, 0.5 + 1j)),
    ("BetaIncomplete(0.3, 2.5, 1.5)", sp.betainc(2.5, 1.5, 0.3)),
    ("BetaIncomplete(0.999, 0.5, 30)", sp.betainc(0.5, 30, 0.999)),
    ("DirichletBeta(2)", dirichlet_beta(2)),  # Catalan's constant
    ("DirichletBeta(3.5)", dirichlet_beta(3.5)),
    ("DirichletBeta(-1)", 0),
    ("DirichletBeta(-2)", sp.euler(2)[2] / 2),  # β(-k) = E_k / 2
    ("DirichletBeta(0)", 0.5),
    ("DirichletEta(3)", (1 - 2.0**-2) * zeta(3)),
    ("DirichletEta(0.5)", (1 - 2**0.5) * sp.zeta(0.5)),
    ("DirichletEta(-1)", 0.25),
    ("DirichletLambda(2)", (1 - 2.0**-2) * zeta(2)),
    ("DirichletLambda(4.5, 100)", (1 - 2.0**-4.5) * zeta(4.5)),
    ("RiemannZeta(2)", math.pi**2 / 6),
    ("RiemannZeta(0.5)", sp.zeta(0.5)),
    ("RiemannZeta(-3)", 1 / 120),
    ("RiemannZeta(-2.5)", sp.zeta(-2.5)),
    ("RiemannZeta(0)", -0.5),
    ("RiemannZeta(0.5 + 14.134725141734693i)", 0),  # the first zero on the critical line
    ("Lerch(0.5, 2, 1)", lerch(0.5, 2, 1)),
    ("Lerch(-0.7, 1.5, 2.5)", lerch(-0.7, 1.5, 2.5)),
    ("Lerch(1, 3, 0.5)", sp.zeta(3, 0.5)),
    ("Harmonic(10)", math.fsum(1 / k for k in range(1, 11))),
    ("Harmonic(100000)", sp.digamma(100001) + np.euler_gamma),
    ("GenHarmonic(20, 1.5)", math.fsum(k**-1.5 for k in range(1, 21))),
    ("GenHarmonic(5000, 2.5)", sp.zeta(2.5, 1) - sp.zeta(2.5, 5001)),
    ("GenHarmonic(3000, -1)", 3000 * 3001 / 2),
    # parameters outside their domain: NaN
    ("NormalPDF(0, 1, -1)", st.norm(1, -1).pdf(0)),
    ("BinomCDF(1, -3, 0.5)", st.binom(-3, 0.5).cdf(1)),
    ("PoissonCDFInv(0.5, -1)", st.poisson(-1).ppf(0.5)),
    ("UniformPDF(1, 2, 1)", st.uniform(2, -1).pdf(1)),
    ("TriangularCDF(2, 1, 4, 5)", st.triang(4 / 3, loc=1, scale=3).cdf(2)),
    ("GeometricPDF(1, 1.5)", st.geom(1.5).pmf(1)),
    ("HypGeometricPDF(1, 5, 7, 2)", st.hypergeom(5, 7, 2).pmf(1)),
]


def num(x):
    x = float(x)
    if math.isnan(x):
        return "kNaN"
    if math.isinf(x):
        return "kInf" if x > 0 else "-kInf"
    return repr(x)


def nums(xs):
    return "{" + ", ".join(num(x) for x in xs) + "}"


def inverse(d, discrete, p):
    """The smallest k of the support with CDF(k) >= p; the support's lower end at p = 0. SciPy's ppf of
    some continuous distributions (cauchy, f, invgauss) loses digits in the tails, so its answer is
    polished by root finding on the CDF (on the survival function above the median)."""
    if p == 0:
        return d.support()[0] if discrete else d.ppf(0)
    x = d.ppf(p)
    if discrete or p == 1 or not hasattr(d, "dist"):
        return x
    if d.dist.name == "cauchy":  # its CDF loses digits in the tails too: the closed form
        m, b = d.args if d.args else (d.kwds.get("loc", 0), d.kwds.get("scale", 1))
        return m - b / math.tan(math.pi * p) if p < 0.5 else m + b / math.tan(math.pi * (1 - p))
    f = (lambda t: d.cdf(t) - p) if p <= 0.5 else (lambda t: (1 - p) - d.sf(t))
    lo, hi = x - 1e-6 * abs(x), x + 1e-6 * abs(x)
    return so.brentq(f, lo, hi, xtol=1e-300, rtol=8.9e-16) if f(lo) * f(hi) < 0 else x


def main():
    rows = ["// Generated by probability.py from SciPy %s; do not edit." % scipy.__version__]
    rows.append("const DistRow kDistRows[] = {")
    for stem, params, d, discrete, xs in DISTS:
        if discrete and not hasattr(d, "pmf"):
            raise SystemExit(stem)
        pdf = [d.pmf(x) if discrete else d.pdf(x) for x in xs]
        cdf = [d.cdf(x) for x in xs]
        inv = [inverse(d, discrete, p) for p in TAIL] if stem not in ("BoseEinstein", "FermiDirac") else []
        rows.append('    {"%s", "%s", %s, %s, %s, %s, %s, %s},' % (
            stem, params, "true" if discrete else "false", nums(xs), nums(pdf), nums(cdf),
            nums(TAIL if inv else []), nums(inv)))
    rows.append("};")
    rows.append("const StatRow kStatRows[] = {")
    for word, params, *how, d in STATS:
        if d is None:
            mvsk = [math.nan] * 4
        elif how:
            mvsk = quad_moments(d)
        else:
            mvsk = [float(v) for v in d.stats(moments="mvsk")]
        rows.append('    {"%s", "%s", %s},' % (word, params, nums(mvsk)))
    rows.append("};")
    rows.append("const SpecialRow kSpecialRows[] = {")
    for expr, value in SPECIAL:
        z = complex(value)
        rows.append('    {"%s", {%s, %s}},' % (expr, num(z.real), num(z.imag)))
    rows.append("};")
    with open(OUT, "w") as f:
        f.write("\n".join(rows) + "\n")


main()
