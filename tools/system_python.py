"""Runs the calling tool under Debian's own Python when `python3` lacks its modules.

Pillow and numpy come from Debian packages (python3-pil, python3-numpy, installed by
scripts/install-deps.sh), and those install for /usr/bin/python3 only. When the
`python3` found first on PATH is another interpreter (pyenv, a virtualenv) the
imports fail there, so the tool starts over under Debian's interpreter instead.
"""

import importlib
import os
import sys

SYSTEM_PYTHON = "/usr/bin/python3"
_RESTARTED = "TANK_TOOLS_ON_SYSTEM_PYTHON"


def require(*modules):
    """Returns once every module imports; otherwise replaces this process with the
    same command under SYSTEM_PYTHON, or raises ImportError if that cannot help."""
    try:
        for module in modules:
            importlib.import_module(module)
        return
    except ImportError:
        here = os.path.realpath(sys.executable)
        if (os.environ.get(_RESTARTED) or not os.path.exists(SYSTEM_PYTHON)
                or here == os.path.realpath(SYSTEM_PYTHON)):
            raise
    os.environ[_RESTARTED] = "1"
    sys.stdout.flush()
    os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
