#!/usr/bin/env python3
"""The libraries form one straight stack: each includes only its own folder and the folders
below it, and every include of a library header names its folder. Prints each offending line
and exits 1."""
import os
import re
import sys

# Each folder and the folders it may include from.
ALLOWED = {
    'core': {'core'},
    'formats': {'core', 'formats'},
    'widgets': {'core', 'formats', 'widgets'},
    'tools': {'core', 'formats', 'widgets', 'tools'},
    'preview': {'core', 'formats', 'widgets', 'preview'},
    'ui': {'core', 'formats', 'widgets', 'tools', 'preview', 'ui'},
    'cli': {'core'},
}
CHECKED_ELSEWHERE = ['tests', 'bench', 'fuzz']  # may include any library, with its folder
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def library_headers(root):
    return {name for folder in ALLOWED if os.path.isdir(os.path.join(root, folder))
            for name in os.listdir(os.path.join(root, folder)) if name.endswith('.h')}


def main(root):
    headers = library_headers(root)
    faults = []
    for top in list(ALLOWED) + CHECKED_ELSEWHERE:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not name.endswith(('.h', '.cpp', '.c')):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8', errors='replace') as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        included = match.group(1)
                        where = f'{os.path.relpath(path, root)}:{number}: "{included}"'
                        if '/' not in included:
                            if included in headers:
                                faults.append(where + ' names no folder')
                            continue
                        target = included.split('/')[0]
                        if top in ALLOWED and target in ALLOWED and target not in ALLOWED[top]:
                            faults.append(where + f' reaches from {top} up to {target}')
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
