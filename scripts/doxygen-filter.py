#!/usr/bin/env python3
"""Doxygen's input filter: the public headers' plain comments become their documentation.

The headers comment in plain `//`, as all of the code does, and Doxygen documents only its own comment
forms. Each header passes through this on its way in, its lines kept where they are (so Doxygen's line
numbers stay true; anything added goes after the last line):
- a comment directly above code, at namespace or class scope, documents that code; a comment heads a
  paragraph of the header, so the paragraph's later declarations without a comment of their own get
  its first sentence;
- a comment after code on its line documents that line's member;
- a comment that a blank line separates from what follows stays plain (it speaks of what is around
  it), except the header's first, which describes the header;
- comments in function bodies stay plain;
- the header and its declarations join the group of its layer (its folder; docs/layers.dox);
- the fields of a table macro (Object's) take their row's comment.
A guide (a .md file) gets the anchors its links use on its headings.

Usage: scripts/doxygen-filter.py FILE   (the file as Doxygen reads it, on standard output)
"""

import os
import re
import sys

COMMENT = re.compile(r"^(\s*)//(?!/)\s?(.*)$")
TRAILING = re.compile(r"^(.*\S.*?)(\s+)//(?!/)\s?(.*)$")
# An opening brace of a namespace, class or enum: declarations follow, not statements.
SCOPE_HEAD = re.compile(r"\b(namespace|struct|class|union|enum)\b[^()]*$")


def code_of(line):
    """The line without its comment or string contents, to count braces in."""
    line = re.sub(r'"(?:\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def declaration_scope_lines(lines):
    """For each line, whether it starts at namespace or class scope (outside every function body)."""
    flags = []
    stack = []  # for each open brace: whether it opened a declaration scope
    head = ""  # the code since the last ; { or }, which says what a brace opens
    for line in lines:
        flags.append(all(stack))
        for char in code_of(line):
            if char == "{":
                stack.append(bool(SCOPE_HEAD.search(head)) and all(stack))
                head = ""
            elif char == "}":
                if stack:
                    stack.pop()
                head = ""
            elif char == ";":
                head = ""
            else:
                head += char
        head += " "
    return flags


def doc_line(line):
    """A comment line as a line of documentation. Lines indented further in a comment are code
    (`//   for (Object& object : ...)`): indented as Markdown's code, they stay code."""
    indent, text = COMMENT.match(line).groups()
    if text.startswith("  "):
        text = "    " + text
    return f"{indent}/// {text}".rstrip()


def first_sentence(text):
    """Up to the first full stop that ends a word."""
    match = re.match(r"(.+?[.])(\s|$)", text)
    return match.group(1) if match else text


def balanced(line):
    """A line of declarations that the group around it may hold: no directive, no comment line, no
    body or scope left open or closed."""
    code = code_of(line)
    return (bool(line.strip()) and not COMMENT.match(line) and not line.lstrip().startswith("#")
            and code.count("{") == code.count("}"))


def filtered(lines, layer):
    out = list(lines)
    at_scope = declaration_scope_lines(lines)
    described = False  # the header's description taken
    i = 0
    while i < len(lines):
        if not (COMMENT.match(lines[i]) and at_scope[i]):
            trailing = TRAILING.match(lines[i])
            if trailing and at_scope[i] and not lines[i].lstrip().startswith(("#", "//", "}")):
                out[i] = f"{trailing.group(1)}{trailing.group(2)}///< {trailing.group(3)}"
            i += 1
            continue
        end = i  # the comment block is lines[i:end]
        while end < len(lines) and COMMENT.match(lines[end]):
            end += 1
        if end == len(lines) or not lines[end].strip() or lines[end].lstrip().startswith("#include"):
            opened = any(line.startswith("namespace") for line in lines[:i])
            if opened and not described and not lines[i].startswith(" "):
                for k in range(i, end):
                    out[k] = doc_line(lines[k])
                out[end - 1] += r" \file"
                described = True
            i = end
            continue
        for k in range(i, end):
            out[k] = doc_line(lines[k])
        last = end  # the code it documents is lines[end:last + 1]
        while balanced(lines[last]) and last + 1 < len(lines) and balanced(lines[last + 1]):
            last += 1
        # Each later declaration of the paragraph without a comment of its own gets the first
        # sentence. (Doxygen's member groups would share the comment, but still warn about every
        # member they cover as undocumented.)
        shared = first_sentence(" ".join(COMMENT.match(line).group(2) for line in lines[i:end]))
        first = True
        for k in range(end, last + 1):
            code = code_of(lines[k]).rstrip()
            if code.endswith((";", "}")):
                if not first and "//" not in lines[k]:
                    out[k] += f"  ///< {shared}"
                first = False
        i = end
    # The header joins its layer's group, and so does what it declares in the namespace (a group
    # around the namespace would take the namespace alone). Lines are added at the end only.
    for k, line in enumerate(lines):
        if line.startswith("namespace tank {"):
            out[k] += rf" /** \addtogroup {layer} */ /** @{{ */"
        elif line.startswith("}  // namespace tank"):
            out[k] = "/** @} */ " + out[k]
    # A header's description lies in the group already; one without joins it here.
    return out + ([] if described else [r"/** \file", rf"\ingroup {layer} */"])


def table_docs(lines):
    """Doxygen blocks for the fields a table macro declares (`FIELD(type, name, initial) /* doc */`
    rows, PROPERTY rows with an animator list each) in the struct that expands it: the expansion
    itself keeps no comment."""
    text = "\n".join(lines)
    blocks = []
    for table in re.finditer(r"^#define (\w+)\(FIELD, PROPERTY\)((?:.*\\\n)*.*)$", text, flags=re.M):
        user = re.search(r"struct (\w+) \{[^}]*?^\s*" + table.group(1) + r"\(", text, flags=re.M | re.S)
        if user is None:
            continue
        for kind, name, doc in re.findall(r"(FIELD|PROPERTY)\([^,]+, (\w+), .*?\)\s*(?:/\*\s*(.*?)\s*\*/)?\s*\\?$",
                                          table.group(2), flags=re.M):
            blocks.append(rf"/** \var tank::{user.group(1)}::{name}" + "\n" + f"{doc} */")
            if kind == "PROPERTY":
                blocks.append(rf"/** \var tank::{user.group(1)}::{name}_animators" + "\n" + f"The animators of `{name}`. */")
    return blocks


def markdown_with_anchors(lines):
    """Headings given the anchors that links to them use (`#the-loop-and-start-up`), as the
    repository's viewers make them."""
    out = []
    fenced = False
    for line in lines:
        fenced ^= line.startswith("```")
        heading = None if fenced else re.match(r"(##+) (.*)$", line)
        if heading:
            anchor = re.sub(r"[^a-z0-9 -]", "", heading.group(2).lower()).replace(" ", "-")
            line += f" {{#{anchor}}}"
        out.append(line)
    return out


def main():
    path = sys.argv[1]
    with open(path, encoding="utf-8") as file:
        lines = file.read().splitlines()
    if path.endswith(".md"):
        out = markdown_with_anchors(lines)
    else:
        out = filtered(lines, os.path.basename(os.path.dirname(os.path.abspath(path))))
        out += table_docs(lines)  # after the last line: the others keep their numbers
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    sys.exit(main())
