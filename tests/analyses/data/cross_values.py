#!/usr/bin/env python3
"""Independent computation of the numbers in cross_table_report.golden.

V4 (rows, record i) by V5 (columns, record i + lag) of a protocol of twelve
records at lag 1: the counts, the expected frequencies, chi square with its
degrees of freedom, Cramer's V, Goodman and Kruskal's lambdas and
Haberman's adjusted residuals.
"""
import math
from fractions import Fraction as F

x = "a a b b a c c b a a b c".split()
y = "x y x x y y x y y x x y".split()
lag = 1

pairs = [(x[i], y[i + lag]) for i in range(len(x) - lag)]
rows_c = sorted(set(a for a, _ in pairs))
cols_c = sorted(set(b for _, b in pairs))
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
df = (len(rows_c) - 1) * (len(cols_c) - 1)
q = min(len(rows_c), len(cols_c))
print("chi square %.3f" % float(chi), "=", chi, "df", df)
print("cramer %.3f" % math.sqrt(float(chi) / (n * (q - 1))))
# Lambda predicting the row category from the column, and the reverse.
lam_rows = F(sum(max(t[(r, c)] for r in rows_c) for c in cols_c) - max(rt.values()),
             n - max(rt.values()))
lam_cols = F(sum(max(t[(r, c)] for c in cols_c) for r in rows_c) - max(ct.values()),
             n - max(ct.values()))
print("lambda rows %.3f columns %.3f" % (float(lam_rows), float(lam_cols)), lam_rows, lam_cols)
for r in rows_c:
    out = []
    for c in cols_c:
        v = float(e[(r, c)]) * (1 - rt[r] / n) * (1 - ct[c] / n)
        out.append("%.4f" % ((t[(r, c)] - float(e[(r, c)])) / math.sqrt(v)))
    print("R", r, out)
