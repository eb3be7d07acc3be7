#!/usr/bin/env python3
"""Independent correspondence analysis of a coran.don (full SVD with numpy), printed as
"vp <values>" then one line per part "<index> <coordinates x1000>" with the same sign
convention as ta3afc (largest active coordinate of each factor positive)."""
import sys
import numpy as np

lines = open(sys.argv[1], 'rb').read().decode('latin-1').replace('\r', '').split('\n')
ni = int(lines[1].split()[0])
flags = lines[3].strip()
p = len(flags)
rows = []
for line in lines[5:5 + ni]:
    rest = line.split(' ', 1)[1] if not line.startswith(' ') else line.lstrip(' ').split(' ', 1)[1]
    counts = rest[20:]
    rows.append([int(counts[5 * j:5 * j + 5]) for j in range(p)])
nf = int(lines[5 + ni].split()[0])
n = np.array(rows, dtype=float)
act = [j for j in range(p) if flags[j] == '1']
sup = [j for j in range(p) if flags[j] == '2']
na = n[:, act]
keep = na.sum(axis=1) > 0
na = na[keep]
tot = na.sum()
pm = na / tot
r = pm.sum(axis=1)
c = pm.sum(axis=0)
s = (pm - np.outer(r, c)) / np.sqrt(np.outer(r, c))
u, sv, vt = np.linalg.svd(s, full_matrices=False)
lam = sv ** 2
k = int((lam > 1e-12 * max(lam.sum(), 1)).sum())
f = min(nf, k)
print('vp ' + ' '.join('%.8f' % x for x in lam[:k]))
g = (vt.T[:, :f] * sv[:f]) / np.sqrt(c)[:, None]
rowc = (u[:, :f] * sv[:f]) / np.sqrt(r)[:, None]
for a in range(f):
    b = int(np.argmax(np.abs(g[:, a])))
    if g[b, a] < 0:
        g[:, a] = -g[:, a]
        rowc[:, a] = -rowc[:, a]
coords = {}
for i, j in enumerate(act):
    coords[j] = g[i]
for j in sup:
    col = n[keep, j]
    prof = col / col.sum()
    coords[j] = prof @ rowc / sv[:f]
for j in range(p):
    print(str(j) + ' ' + ' '.join('%.3f' % (x * 1000) for x in coords[j]))
