#!/usr/bin/python3
"""Prints the accessibility tree of the running Zenavo window as assistive technologies see it
over AT-SPI: each object's role and name, a value object's value, a table's row and column
counts and its cells' texts. A developer aid (not part of the test run): see check_window.sh.

    dump_tree.py [--cells N]   # at most N cells per table (default: all)
"""
import argparse
import sys

import pyatspi


def value_of(node):
    try:
        return node.queryValue().currentValue
    except NotImplementedError:
        return None


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def table_size(node):
    try:
        table = node.queryTable()
        return table.nRows, table.nColumns
    except NotImplementedError:
        return None


def dump(node, depth, max_cells, out):
    role = node.getRoleName()
    line = f"{'  ' * depth}[{role}] {node.name!r}"
    if node.description:
        line += f" ({node.description})"
    value = value_of(node)
    if value is not None:
        line += f" value={value:g}"
    if node.getRole() == pyatspi.ROLE_TEXT:
        line += f" text={text_of(node)!r}"
    size = table_size(node)
    if size:
        line += f" rows={size[0]} columns={size[1]}"
        try:
            selected = node.queryTable().getSelectedRows()
            line += f" selected rows={list(selected)}"
        except Exception:  # noqa: BLE001 - the bridge may not answer it
            pass
    out.write(line + "\n")
    count = node.childCount
    if size and max_cells is not None:
        count = min(count, max_cells)
    for i in range(count):
        child = node.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1, max_cells, out)
    if count < node.childCount:
        out.write(f"{'  ' * (depth + 1)}... {node.childCount - count} more cells\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cells", type=int, default=None, help="cells shown per table")
    args = parser.parse_args()
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [a for a in desktop if a is not None and a.name == "zenavo"]
    if not apps:
        sys.exit("zenavo is not on the accessibility bus")
    dump(apps[0], 0, args.cells, sys.stdout)


if __name__ == "__main__":
    main()
