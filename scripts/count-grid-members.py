#!/usr/bin/env python3
# Counts the data members declared in TExStringGrid's own body (not its bases), by
# access, from clang's AST. Run from anywhere; -v lists them.
import json, pathlib, subprocess, sys
root = pathlib.Path(__file__).resolve().parent.parent
src = '#include "widgets/grid/ExGrid.h"\n'
out = subprocess.run(['clang++', '-std=c++20', '-x', 'c++', '-fsyntax-only', '-I', str(root), '-Xclang', '-ast-dump=json',
                      '-Xclang', '-ast-dump-filter=TExStringGrid', '-'], input=src, capture_output=True, text=True)
dec = json.JSONDecoder(); s = out.stdout; i = 0
fields = []
while i < len(s):
    while i < len(s) and s[i].isspace(): i += 1
    if i >= len(s): break
    obj, i = dec.raw_decode(s, i)
    if obj.get('kind') == 'CXXRecordDecl' and obj.get('name') == 'TExStringGrid' and obj.get('completeDefinition'):
        acc = 'private'
        for m in obj.get('inner', []):
            if m.get('kind') == 'AccessSpecDecl': acc = m['access']
            if m.get('kind') in ('FieldDecl', 'VarDecl'):
                fields.append((acc, m['name']))
        break
if not fields: sys.exit('no class found:\n' + out.stderr[:2000])
for a in ('public', 'protected', 'private'):
    names = [n for (x, n) in fields if x == a]
    print(f'{a}: {len(names)}')
    if '-v' in sys.argv: print('  ' + ' '.join(names))
print('total:', len(fields))
