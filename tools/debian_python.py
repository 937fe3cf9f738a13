"""Imports a module that one of Debian's python3-* packages provides. Those packages belong to the
system's Python; when `python3` on the PATH is another one (pyenv, a virtual environment), the
running script is started again under /usr/bin/python3."""

import importlib
import os
import sys

SYSTEM_PYTHON = "/usr/bin/python3"


def require(module):
    try:
        return importlib.import_module(module)
    except ImportError:
        if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and os.path.exists(SYSTEM_PYTHON):
            os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
        sys.exit("%s needs Debian's python3-%s (scripts/setup installs it)" % (os.path.basename(sys.argv[0]), module))
