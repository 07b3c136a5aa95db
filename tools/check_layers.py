#!/usr/bin/env python3
"""Checks that the folders of src/ point one way.

Every folder of src/ is one library. A folder may use (include) only folders
that do not use it back, directly or through others; a core folder (one
built by brevik_core_library in CMakeLists.txt) includes no Qt header; and
each core library's DEPENDS list in CMakeLists.txt names exactly the
folders its files include.

usage: check_layers.py [SOURCE_DIR]       exit 0 when all holds, 1 otherwise
       check_layers.py --print [SOURCE_DIR]  print each folder's includes
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
QT_HEADER = re.compile(r'^(Q[A-Z]\w*|Qt\w*/|qcustomplot)')
CORE_LIBRARY = re.compile(r'^\s*brevik_core_library\((\w+)((?:\s+DEPENDS)?[^)]*)\)', re.M)


def includes_by_folder(src):
    """{folder: {used folder: [file -> header, ...]}} and {folder: [Qt includes]}."""
    folders = sorted(d for d in os.listdir(src) if os.path.isdir(os.path.join(src, d)))
    uses = {f: {} for f in folders}
    qt = {f: [] for f in folders}
    for folder in folders:
        for root, _, files in os.walk(os.path.join(src, folder)):
            for name in sorted(files):
                if not name.endswith(('.h', '.cpp')):
                    continue
                path = os.path.join(root, name)
                rel = os.path.relpath(path, src)
                with open(path, encoding='latin-1') as f:
                    for line in f:
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        header = m.group(2)
                        if m.group(1) == '<' and QT_HEADER.match(header):
                            qt[folder].append(rel + ' -> <' + header + '>')
                        top = header.split('/')[0]
                        if m.group(1) == '"' and '/' in header and top in uses and top != folder:
                            uses[folder].setdefault(top, []).append(rel + ' -> ' + header)
    return uses, qt


def core_libraries(cmake_text):
    out = {}
    for m in CORE_LIBRARY.finditer(cmake_text):
        words = m.group(2).split()
        out[m.group(1)] = set(words[1:]) if words and words[0] == 'DEPENDS' else set()
    return out


def find_cycle(graph):
    """A list of folders forming a cycle, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = 'open'
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 'open':
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 'done'
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main(argv):
    args = [a for a in argv[1:] if a != '--print']
    if any(a.startswith('-') for a in args) or len(args) > 1:
        print(__doc__, file=sys.stderr)
        return 2
    root = args[0] if args else os.path.join(os.path.dirname(__file__), '..')
    src = os.path.join(root, 'src')
    uses, qt = includes_by_folder(src)
    if '--print' in argv[1:]:
        for folder, used in uses.items():
            print(folder + ': ' + ' '.join(sorted(used)))
        return 0

    with open(os.path.join(root, 'CMakeLists.txt'), encoding='utf-8') as f:
        core = core_libraries(f.read())
    problems = []
    cycle = find_cycle({f: set(u) for f, u in uses.items()})
    if cycle:
        problems.append('folders in a cycle: ' + ' -> '.join(cycle))
        for a, b in zip(cycle, cycle[1:]):
            problems.extend('    ' + line for line in uses[a][b][:5])
    for folder in sorted(core):
        if folder not in uses:
            problems.append('library %s has no folder src/%s' % (folder, folder))
            continue
        for line in qt[folder]:
            problems.append('Qt header in the core folder %s: %s' % (folder, line))
        included = set(uses[folder])
        for missing in sorted(included - core[folder]):
            problems.append('%s includes %s, which its DEPENDS list lacks (%s)'
                            % (folder, missing, uses[folder][missing][0]))
        for extra in sorted(core[folder] - included):
            problems.append('%s DEPENDS on %s but includes nothing of it' % (folder, extra))
    for folder in sorted(uses):
        if folder not in core and folder not in ('platform', 'ui', 'cli'):
            problems.append('folder src/%s is neither a core library nor a shell' % folder)
    for p in problems:
        print(p)
    if problems:
        return 1
    print('%d folders, one way; %d core libraries as their includes say' % (len(uses), len(core)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
