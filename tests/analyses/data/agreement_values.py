#!/usr/bin/env python3
"""Independent computation of the numbers in interrater_report.golden.

Ten pairs of codes of V4, three categories. Run it to print the table,
the agreement and the kappas as the report rounds them. The golden file
itself (with the pairs left out) is written by stats_golden.py.
"""
from fractions import Fraction as F

coder1 = "A A A B B B C C A B".split()
coder2 = "A A B B B A C A A B".split()
cats = ["A", "B", "C"]

n = len(coder1)
table = {(r, c): 0 for r in cats for c in cats}
for a, b in zip(coder1, coder2):
    table[(a, b)] += 1
rows = {r: sum(table[(r, c)] for c in cats) for r in cats}
cols = {c: sum(table[(r, c)] for r in cats) for c in cats}

for r in cats:
    print(r, [table[(r, c)] for c in cats], rows[r])
print("Total:", [cols[c] for c in cats], n)

agreed = sum(table[(k, k)] for k in cats)
po = F(agreed, n)
pe = sum(F(rows[k] * cols[k], n * n) for k in cats)
kappa = (po - pe) / (1 - pe)
print("agreements", agreed, "percentage %.2f%%" % float(po * 100))
print("pe", pe, "kappa", kappa, "= %.6f" % float(kappa))

# The kappa of category k: the two-by-two table "k or not k".
for k in cats:
    a = table[(k, k)]
    b = rows[k] - a
    c = cols[k] - a
    d = n - a - b - c
    po_k = F(a + d, n)
    pe_k = F(rows[k] * cols[k] + (n - rows[k]) * (n - cols[k]), n * n)
    kk = (po_k - pe_k) / (1 - pe_k)
    print(k, rows[k], cols[k], a, kk, "= %.6f" % float(kk))

# The chi-square block of the same table (independence expectation, Pearson
# chi square, Cramer's V, Goodman and Kruskal's lambdas, Haberman's adjusted
# residuals).
import math

exp = {(r, c): F(rows[r] * cols[c], n) for r in cats for c in cats}
for r in cats:
    print("E", r, ["%.2f" % float(exp[(r, c)]) for c in cats], rows[r])
chi = sum(F(table[k] ** 2) / exp[k] for k in table if exp[k] != 0) - n
q = min(len(cats), len(cats))
print("chi square %.3f" % float(chi), "df", (len(cats) - 1) ** 2)
print("cramer %.3f" % math.sqrt(float(chi) / (n * (q - 1))))
max_col = max(rows.values())
lam_row = F(sum(max(table[(r, c)] for r in cats) for c in cats) - max(rows.values()),
            n - max(rows.values()))
lam_col = F(sum(max(table[(r, c)] for c in cats) for r in cats) - max(cols.values()),
            n - max(cols.values()))
print("lambda rows predicted %.3f" % float(lam_row), "columns predicted %.3f" % float(lam_col))
for r in cats:
    res = []
    for c in cats:
        e = float(exp[(r, c)])
        v = e * (1 - rows[r] / n) * (1 - cols[c] / n)
        res.append("%.2f" % ((table[(r, c)] - e) / math.sqrt(v)) if v else "0.00")
    print("R", r, res)
