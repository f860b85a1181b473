#!/usr/bin/env python3
"""Independent computation of the numbers in cross_table_report.golden and
interrater_report.golden (the golden files themselves are written by
stats_golden.py).

A table of code pairs: the counts, the expected frequencies, chi square with
its degrees of freedom, Cramer's V, Goodman and Kruskal's lambdas and
Haberman's adjusted residuals; for the two coders also the agreement,
Cohen's kappa and the category kappas.
"""
import math
from fractions import Fraction as F


def table_stats(pairs, rows_c, cols_c):
    n = len(pairs)
    t = {(r, c): sum(1 for p in pairs if p == (r, c)) for r in rows_c for c in cols_c}
    rt = {r: sum(t[(r, c)] for c in cols_c) for r in rows_c}
    ct = {c: sum(t[(r, c)] for r in rows_c) for c in cols_c}
    for r in rows_c:
        print(r, [t[(r, c)] for c in cols_c], rt[r])
    print("Total:", [ct[c] for c in cols_c], n)
    e = {(r, c): F(rt[r] * ct[c], n) for r in rows_c for c in cols_c}
    for r in rows_c:
        print("E", r, ["%.2f" % float(e[(r, c)]) for c in cols_c])
    chi = sum((t[k] - e[k]) ** 2 / e[k] for k in t)
    q = min(len(rows_c), len(cols_c))
    print("chi square %.3f" % float(chi), "=", chi,
          "df", (len(rows_c) - 1) * (len(cols_c) - 1))
    print("cramer %.3f" % math.sqrt(float(chi) / (n * (q - 1))))
    # Lambda predicting the row category from the column, and the reverse.
    lam_rows = F(sum(max(t[(r, c)] for r in rows_c) for c in cols_c) - max(rt.values()),
                 n - max(rt.values()))
    lam_cols = F(sum(max(t[(r, c)] for c in cols_c) for r in rows_c) - max(ct.values()),
                 n - max(ct.values()))
    print("lambda rows %.3f columns %.3f" % (float(lam_rows), float(lam_cols)))
    for r in rows_c:
        out = []
        for c in cols_c:
            v = float(e[(r, c)]) * (1 - rt[r] / n) * (1 - ct[c] / n)
            out.append("%.4f" % ((t[(r, c)] - float(e[(r, c)])) / math.sqrt(v)) if v else "0")
        print("R", r, out)
    return t, rt, ct


print("== V4 x V5 of twelve records")
x = "a a b b a c c b a a b c".split()
y = "x y x x y y x y y x x y".split()
for lag in (0, 1):
    print("-- lag", lag)
    pairs = [(x[i], y[i + lag]) for i in range(len(x) - lag)]
    table_stats(pairs, sorted(set(a for a, _ in pairs)), sorted(set(b for _, b in pairs)))

print("== ten pairs of two coders")
coder1 = "A A A B B B C C A B".split()
coder2 = "A A B B B A C A A B".split()
cats = ["A", "B", "C"]
n = len(coder1)
table, rows, cols = table_stats(list(zip(coder1, coder2)), cats, cats)
agreed = sum(table[(k, k)] for k in cats)
po = F(agreed, n)
pe = sum(F(rows[k] * cols[k], n * n) for k in cats)
kappa = (po - pe) / (1 - pe)
print("agreements", agreed, "percentage %.2f%%" % float(po * 100))
print("pe", pe, "kappa", kappa, "= %.6f" % float(kappa))
# The kappa of category k: the two-by-two table "k or not k".
for k in cats:
    a = table[(k, k)]
    po_k = F(n - rows[k] - cols[k] + 2 * a, n)
    pe_k = F(rows[k] * cols[k] + (n - rows[k]) * (n - cols[k]), n * n)
    kk = (po_k - pe_k) / (1 - pe_k)
    print(k, rows[k], cols[k], a, kk, "= %.6f" % float(kk))
