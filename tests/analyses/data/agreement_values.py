#!/usr/bin/env python3
"""Independent computation of the numbers in interrater_report.golden.

Ten pairs of codes of V4, three categories. Run it to print the table,
the agreement and the kappas as the report rounds them.
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
