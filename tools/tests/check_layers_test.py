#!/usr/bin/env python3
"""The include check rejects what the layer table forbids, naming file and line, and accepts the rest."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-layers")

TABLE = """vyk_layer(low   FOLDERS base      USES)
vyk_layer(mid   FOLDERS mid       USES low)
vyk_layer(top   FOLDERS top top/x USES low mid)
"""


def tree(files):
    root = tempfile.mkdtemp()
    files = dict(files)
    files.setdefault("cmake/layers.cmake", TABLE)
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as out:
            out.write(text)
    return root


def run(root):
    done = subprocess.run([sys.executable, CHECK, "--root", root], capture_output=True, text=True)
    return done.returncode, done.stdout + done.stderr


class CheckLayers(unittest.TestCase):
    def test_allowed_includes_pass(self):
        code, out = run(tree({
            "base/a.h": "#pragma once\n",
            "mid/b.h": '#include "base/a.h"\n#include <vector>\n',
            "top/x/c.cpp": '#include "mid/b.h"\n#include "top/d.h"\n',
            "top/d.h": '#include "top/x/c.h"\n',
            "top/x/c.h": "",
            "mid/tests/b_test.cpp": '#include "mid/b.h"\n#include "base/a.h"\n',
        }))
        self.assertEqual(code, 0, out)

    def test_upward_and_undeclared_includes_fail_with_file_and_line(self):
        code, out = run(tree({
            "base/a.h": "#pragma once\n",
            "top/t.h": "",
            "mid/b.h": "",
            "base/tests/a_test.cpp": '// test\n#include "mid/b.h"\n',
            "mid/m.cpp": '#include "base/a.h"\n\n#include "top/t.h"\n',
        }))
        self.assertEqual(code, 1, out)
        self.assertIn("mid/m.cpp:3: layer mid may not include top/t.h (layer top)", out)
        self.assertIn("base/tests/a_test.cpp:2: layer low may not include mid/b.h (layer mid)", out)

    def test_a_table_that_uses_a_later_layer_is_refused(self):
        code, out = run(tree({"cmake/layers.cmake": "vyk_layer(a FOLDERS a USES b)\nvyk_layer(b FOLDERS b USES a)\n"}))
        self.assertNotEqual(code, 0)
        self.assertIn("uses b, not declared above it", out)

    def test_a_folder_holds_one_layer(self):
        code, out = run(tree({
            "cmake/layers.cmake": "vyk_layer(low FOLDERS top/low USES)\nvyk_layer(top FOLDERS top USES low)\n",
            "top/low/a.h": "",
            "top/stray/b.h": "",
        }))
        self.assertEqual(code, 1, out)
        self.assertIn("top/low/: folder of layer low lies inside top/ (layer top)", out)
        self.assertIn("top/stray/: holds sources but belongs to no layer", out)


if __name__ == "__main__":
    unittest.main()
