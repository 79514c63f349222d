#!/usr/bin/env python3
"""The C examples of the runtime's documentation build against the runtime
and run over the demo document without an error.

usage: runtime_doc_examples_test.py DOC.md INCLUDE_DIR LIBRARY DEMO.mrc
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile


def main():
    doc, include, library, demo = sys.argv[1:5]
    examples = re.findall(r'```c\n(.*?)```', open(doc).read(), re.S)
    if not examples:
        print(f'{doc}: no C example')
        return 1
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(demo, os.path.join(folder, 'demo.mrc'))
        for n, code in enumerate(examples):
            source, program = os.path.join(folder, f'example{n}.c'), os.path.join(folder, f'example{n}')
            open(source, 'w').write(code)
            build = subprocess.run(['cc', '-std=c11', '-Wall', '-Wextra', '-Werror', '-I', include, source, library,
                                    f'-Wl,-rpath,{os.path.dirname(os.path.abspath(library))}', '-o', program],
                                   capture_output=True, text=True)
            if build.returncode != 0:
                print(f'example {n} does not build:\n{build.stderr}')
                failures += 1
                continue
            run = subprocess.run([program], cwd=folder, capture_output=True, text=True, timeout=60)
            print(f'example {n}:\n{run.stdout}{run.stderr}')
            if run.returncode != 0 or not run.stdout:
                print(f'example {n} failed (exit status {run.returncode})')
                failures += 1
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
