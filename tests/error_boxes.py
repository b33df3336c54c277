# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The error boxes' texts for the end-to-end scripts, read from
error_boxes.h beside this file, where the C++ suites read them: one table
for every suite that checks a box."""

import ast
import os
import re

_LITERAL = r'"(?:[^"\\]|\\.)*"'


def box_text(name):
    """The full text of the box named `name` in error_boxes.h."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "error_boxes.h")
    with open(path, encoding="utf-8") as header:
        source = header.read()
    found = re.search(rf"\b{name} =\s*((?:{_LITERAL}\s*)+);", source)
    if found is None:
        raise KeyError(name)
    # The header's literals are plain C++ strings, which Python reads alike.
    return "".join(ast.literal_eval(part) for part in re.findall(_LITERAL, found.group(1)))
