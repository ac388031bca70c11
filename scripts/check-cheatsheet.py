#!/usr/bin/env python3
"""Fails when docs/cheatsheet.md and the installed public headers name different things.

The framework is installed from a build folder into a scratch prefix, as a game would get it, and
every header under include/tank/LAYER/ is read for the names it declares. The cheatsheet must list
each of them under that header's heading, and nothing else there.

A public name is what a game can spell after `tank::`, or after a public type's name:
- at namespace scope: functions (overloads are one name), structs and classes (templates and their
  specialisations included), enums, type aliases and variables (globals, constants, settings);
- the enumerators of each enum (`curve_linear`; `blend_mode::normal` for a scoped one);
- the public members of each public struct or class, by their qualified name (`Object::set_bitmap`,
  `playback::gain`): named member functions, data members, nested types and their own members;
- the macros a header leaves defined.
Constructors, destructors and operators belong to their type's line and are not names of their own;
nor are forward declarations, friends and private members. Macros are expanded first (by the
compiler's preprocessor, the headers' includes left out), so a field declared through a table macro
counts like any other.

The cheatsheet's side: under a heading `### LAYER/NAME.hpp`, every list item that starts with code
spans declares what those spans declare, read by the same rules (a span may leave out bodies, and
`struct Object` alone names the type). Items nested under a type's item declare its members. Text
after the spans, and every other part of the file, are free.

The installed CMake package is checked too: its functions and imported targets must appear in the
cheatsheet.

Usage: scripts/check-cheatsheet.py BUILD_DIR [CXX_COMPILER [CMAKE]]
"""

import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CHEATSHEET = os.path.join(ROOT, "docs", "cheatsheet.md")

TOKEN = re.compile(r"""
    "(?:\\.|[^"\\])*" | '(?:\\.|[^'\\])*'   # literals, whole
  | [A-Za-z_]\w* | \d[\w.']*
  | ::|\.\.\.|\S                            # '>' stays single, for nested template arguments
""", re.X)
CLASS_KEYS = ("struct", "class", "union")
ACCESS = ("public", "private", "protected")


def is_identifier(token):
    return re.fullmatch(r"[A-Za-z_]\w*", token) is not None


def matching(tokens, i):
    """The index of the bracket that closes tokens[i]."""
    opening, closing = tokens[i], {"(": ")", "[": "]", "{": "}", "<": ">"}[tokens[i]]
    depth = 0
    for j in range(i, len(tokens)):
        depth += (tokens[j] == opening) - (tokens[j] == closing)
        if depth == 0:
            return j
    raise ValueError(f"unbalanced {opening}")


def without_templates(tokens):
    """The declaration with its `template <...>` heads taken off."""
    while len(tokens) > 1 and tokens[0] == "template" and tokens[1] == "<":
        tokens = tokens[matching(tokens, 1) + 1:]
    return tokens


def first_paren(tokens):
    """The index of the first top-level '(' that is no initializer's, or None."""
    for i, token in enumerate(tokens):
        if token == "=" and "operator" not in tokens[:i]:
            return None
        if token == "(":
            return i
    return None


class Declarations:
    """The public names one piece of C++ declares, qualified below namespace tank.

    `bare_types`: a class head without a body names its type (the cheatsheet's `struct Object`);
    in a header it is a forward declaration and names nothing.
    """

    def __init__(self, tokens, bare_types=False):
        self.tokens = tokens
        self.bare_types = bare_types
        self.names = []

    def scope(self, begin, end, prefix, public=True, class_name=None):
        """Reads tokens[begin:end], a namespace's or a class's declarations."""
        i = begin
        while i < end:
            statement = []
            body = None
            while i < end:
                token = self.tokens[i]
                if token == ";":
                    i += 1
                    break
                if token == ":" and len(statement) == 1 and statement[0] in ACCESS:
                    i += 1
                    break
                if token in "([":
                    close = matching(self.tokens, i)
                    statement += self.tokens[i:close + 1]
                    i = close + 1
                    continue
                if token == "{":
                    close = matching(self.tokens, i)
                    if self.has_body(statement):
                        body = (i + 1, close)
                        i = close + 1
                        break
                    i = close + 1  # a brace initializer
                    continue
                statement.append(token)
                i += 1
            if statement and statement[0] in ACCESS:
                public = statement[0] == "public"
            elif public:
                self.declaration(without_templates(statement), body, prefix, class_name)

    @staticmethod
    def has_body(statement):
        head = without_templates(statement)
        if head and head[0] in CLASS_KEYS + ("enum", "namespace"):
            return True
        return first_paren(head) is not None

    def declaration(self, tokens, body, prefix, class_name):
        if not tokens or tokens[0] in ("friend", "static_assert"):
            return
        if tokens[0] == "namespace":
            inner = "" if tokens[1:2] == ["tank"] else prefix + tokens[1] + "::"
            self.scope(*body, inner)
        elif tokens[0] == "using":
            if len(tokens) > 2 and tokens[2] == "=":
                self.names.append(prefix + tokens[1])
        elif tokens[0] == "enum":
            self.enumeration(tokens, body, prefix)
        elif tokens[0] in CLASS_KEYS and (body is not None or len(tokens) == 2 or tokens[2] in (":", "<")):
            name = tokens[1]
            if body is None and not self.bare_types:
                return  # a forward declaration
            self.names.append(prefix + name)
            if body is not None:
                self.scope(*body, prefix + name + "::", tokens[0] != "class", name)
        else:
            self.function_or_variables(tokens, prefix, class_name)

    def enumeration(self, tokens, body, prefix):
        scoped = tokens[1] in ("class", "struct")
        name = tokens[2] if scoped else tokens[1]
        self.names.append(prefix + name)
        if body is None:
            return
        inner = prefix + name + "::" if scoped else prefix
        enumerators = self.tokens[body[0]:body[1]]
        expect_name = True
        i = 0
        while i < len(enumerators):
            token = enumerators[i]
            if token in "([{":
                i = matching(enumerators, i)
            elif token == ",":
                expect_name = True
            elif expect_name:
                self.names.append(inner + token)
                expect_name = False
            i += 1

    def function_or_variables(self, tokens, prefix, class_name):
        if "operator" in tokens:
            return
        paren = first_paren(tokens)
        if paren is not None:
            inside = tokens[paren + 1:matching(tokens, paren)]
            if len(inside) == 2 and inside[0] in "*&" and is_identifier(inside[1]):
                self.names.append(prefix + inside[1])  # a function pointer: void (*name)()
            elif paren == 0 or not is_identifier(tokens[paren - 1]):
                return
            elif tokens[paren - 2:paren - 1] == ["::"]:
                return  # a member defined out of its class: declared there already
            elif tokens[paren - 1] != class_name and tokens[paren - 2:paren - 1] != ["~"]:
                self.names.append(prefix + tokens[paren - 1])  # not a constructor or destructor
            return
        # Variables: the last name of each declarator, before its initializer.
        depth = 0
        name = None
        initializer = False
        for token in tokens + [","]:
            if token == "<":
                depth += 1
            elif token == ">":
                depth -= 1
            elif token == "," and depth == 0:
                if name:
                    self.names.append(prefix + name)
                name, initializer = None, False
            elif token in ("=", "[", ":") and depth == 0:
                initializer = True
            elif not initializer and is_identifier(token):
                name = token


def declared_names(source, prefix="", class_name=None, bare_types=False):
    """The names `source` declares, in the scope of `prefix` (that of class `class_name`)."""
    parser = Declarations(TOKEN.findall(source), bare_types)
    parser.scope(0, len(parser.tokens), prefix, True, class_name)
    return parser.names


def header_names(path, compiler):
    """The public names of one header, macros expanded and its includes left out."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    alone = re.sub(r"^\s*#\s*(include|pragma)\b.*$", "", text, flags=re.M)
    expanded = subprocess.run([compiler, "-E", "-P", "-undef", "-x", "c++", "-std=c++20", "-"], input=alone,
                              capture_output=True, text=True, check=True).stdout
    macros = []
    for kind, name in re.findall(r"^\s*#\s*(define|undef)\s+(\w+)", text, flags=re.M):
        if kind == "define":
            macros.append(name)
        elif name in macros:
            macros.remove(name)
    return macros + declared_names(expanded)


def cheatsheet_items(path):
    """(line number, header, indent, text) of every list item under a header's heading; an item
    may go on over the lines below it, indented further."""
    items = []
    header = None
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file, 1):
            if line.startswith("#"):
                heading = re.match(r"#+\s+`?([a-z_]+/\w+\.hpp)`?\s*$", line)
                header = heading.group(1) if heading else None
                continue
            item = re.match(r"(\s*)[-*] (.*)", line)
            indent = len(line) - len(line.lstrip())
            if header is not None and item:
                items.append([number, header, indent, item.group(2).strip()])
            elif items and line.strip() and indent > items[-1][2] and items[-1][1] == header:
                items[-1][3] += " " + line.strip()
    return items


def cheatsheet_names(path):
    """{(header, name): line number} for every name the cheatsheet's header sections declare."""
    names = {}
    parents = []  # (indent, prefix, header) of the type items above the current one
    for number, header, indent, text in cheatsheet_items(path):
        spans = re.match(r"`[^`]+`(?:,\s*`[^`]+`)*", text)
        if spans is None:
            continue
        while parents and (parents[-1][0] >= indent or parents[-1][2] != header):
            parents.pop()
        prefix = parents[-1][1] if parents else ""
        class_name = prefix[:-2].rsplit("::", 1)[-1] if prefix else None
        declared = []
        for span in re.findall(r"`([^`]+)`", spans.group(0)):
            declared += declared_names(span + ";", prefix, class_name, bare_types=True)
        for name in declared:
            names.setdefault((header, name), number)
        if declared:  # a type's item: the items nested under it are its members
            parents.append((indent, declared[0] + "::", header))
    return names


def cmake_names(prefix):
    """The functions and imported targets of the installed CMake package."""
    names = set()
    folder = os.path.join(prefix, "lib", "cmake", "tank_framework")
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), encoding="utf-8") as file:
            text = file.read()
        # Its own functions: the config file's @PACKAGE_INIT@ defines CMake's helpers too.
        names.update(re.findall(r"^\s*(?:function|macro)\((tank\w*)", text, flags=re.M | re.I))
        names.update(re.findall(r"^\s*add_library\(([\w:]+) \w+ IMPORTED", text, flags=re.M))
    return names


def installed_headers(include):
    """Every header under include/tank/LAYER/, lowest layer first as the umbrella header lists them."""
    with open(os.path.join(include, "tank.hpp"), encoding="utf-8") as umbrella:
        headers = re.findall(r"^#include <tank/(\w+/\w+\.hpp)>", umbrella.read(), flags=re.M)
    for layer in sorted(os.listdir(include)):
        if os.path.isdir(os.path.join(include, layer)):
            headers += sorted(f"{layer}/{name}" for name in os.listdir(os.path.join(include, layer))
                              if f"{layer}/{name}" not in headers)
    return headers


def install(build, prefix, cmake):
    """Installs the framework as `make install-framework` does; False, having said why, if it cannot."""
    result = subprocess.run([cmake, "--install", build, "--component", "framework", "--prefix", prefix],
                            capture_output=True, text=True)
    if result.returncode != 0:
        print(f"cannot install the framework from {build} (is it built?):\n{result.stderr}")
    return result.returncode == 0


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip().splitlines()[-1])
        return 2
    build = sys.argv[1]
    compiler = sys.argv[2] if len(sys.argv) > 2 else "c++"
    cmake = sys.argv[3] if len(sys.argv) > 3 else "cmake"
    with tempfile.TemporaryDirectory(prefix="tank-cheatsheet-") as prefix:
        if not install(build, prefix, cmake):
            return 1
        include = os.path.join(prefix, "include", "tank")
        headers = {header: header_names(os.path.join(include, header), compiler)
                   for header in installed_headers(include)}
        targets = cmake_names(prefix)

    listed = cheatsheet_names(CHEATSHEET)
    declared = {(header, name) for header, names in headers.items() for name in names}
    order = {header: i for i, header in enumerate(headers)}

    def ordered(pairs):
        return sorted(pairs, key=lambda pair: (order.get(pair[0], len(order)), pair[0], pair[1]))

    missing = ordered(declared - listed.keys())
    unknown = ordered(listed.keys() - declared)
    with open(CHEATSHEET, encoding="utf-8") as file:
        text = file.read()
    absent_targets = sorted(name for name in targets if not re.search(rf"`[^`]*\b{re.escape(name)}\b", text))

    if missing:
        print(f"docs/cheatsheet.md lacks {len(missing)} public name(s); list each under its header's heading"
              " (### LAYER/NAME.hpp), a member under its type's line:")
        for header, name in missing:
            print(f"  {header}: {name}")
    if unknown:
        print(f"docs/cheatsheet.md lists {len(unknown)} name(s) that the header does not declare:")
        for header, name in unknown:
            print(f"  {header}: {name}  (docs/cheatsheet.md:{listed[(header, name)]})")
    if absent_targets:
        print("docs/cheatsheet.md lacks these of the installed CMake package: " + ", ".join(absent_targets))
    if missing or unknown or absent_targets:
        return 1
    print(f"{len(declared)} public names of {len(headers)} installed headers, each in docs/cheatsheet.md")
    return 0


if __name__ == "__main__":
    sys.exit(main())
