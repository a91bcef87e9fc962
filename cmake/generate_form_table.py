#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Reads the window's form (a Qt Designer .ui file) and writes what it says about each control
for the windows and tests that cannot read it themselves: a C++ header for the Win32 window, and
a plain table of the controls' places for the scripts that click them.

Usage: generate_form_table.py FORM.ui FormTable.h FormTable.txt

The form is read as XML, so the order of attributes and the way Designer breaks its lines do not
matter; anything the tables need and cannot find stops the build rather than being guessed."""
import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path


class FormError(Exception):
    pass


class Control:
    def __init__(self, element, parent):
        self.name = element.get("name")
        self.kind = element.get("class")
        self.parent = parent
        self.place = {}
        self.text = ""
        self.font = ""
        self.enabled = True
        self.bordered = False
        self.centred = False
        self.pixmap = ""
        for prop in element.findall("property"):
            self.read(prop)

    def read(self, prop):
        name = prop.get("name")
        if name == "geometry":
            rect = prop.find("rect")
            for side in ("x", "y", "width", "height"):
                value = rect.find(side) if rect is not None else None
                if value is not None:
                    self.place[side] = int(value.text)
        elif name in ("text", "title", "windowTitle"):
            string = prop.find("string")
            if string is not None:
                self.text = string.text or ""
        elif name == "font":
            family = prop.find("font/family")
            if family is not None:
                self.font = family.text or ""
        elif name == "enabled":
            self.enabled = prop.findtext("bool") != "false"
        elif name == "frameShape":
            self.bordered = prop.findtext("enum") not in (None, "QFrame::NoFrame")
        elif name == "alignment":
            self.centred = re.search(r"Qt::AlignHCenter|Qt::AlignCenter",
                                     prop.findtext("set") or "") is not None
        elif name == "pixmap":
            self.pixmap = prop.findtext("pixmap") or ""


def cpp_string(text):
    for plain, escaped in (("\\", "\\\\"), ('"', '\\"'), ("\r", "\\r"), ("\n", "\\n"),
                           ("\t", "\\t")):
        text = text.replace(plain, escaped)
    return f'"{text}"'


def read_form(path):
    root = ElementTree.parse(path).getroot()
    window_element = root.find("widget")
    if window_element is None:
        raise FormError("no window")
    window = Control(window_element, None)
    controls = []
    names = {window.name}

    # Every widget below the window, in the order the form lists them, with the widget it lies in.
    def walk(element, parent):
        for child in element:
            if child.tag == "widget":
                control = Control(child, parent)
                if control.name in names:
                    raise FormError(f"two controls are called {control.name}")
                names.add(control.name)
                controls.append(control)
                walk(child, control)
            else:
                walk(child, parent)

    walk(window_element, window)
    tab_stops = [stop.text for stop in root.findall("tabstops/tabstop")]
    return window, controls, tab_stops


def generate(form_path):
    form_name = Path(form_path).name
    window, controls, tab_stops = read_form(form_path)

    # The Win32 window takes the focus round its controls in the order it makes them, which is
    # the order the form lists them in; the form's own tab order must agree.
    listed_stops = [control.name for control in controls if control.name in tab_stops]
    if listed_stops != tab_stops:
        raise FormError(f"the tab order ({', '.join(tab_stops)}) must follow the order the form "
                        f"lists its controls in ({', '.join(listed_stops)}): move the controls in "
                        "the form, not only their tab stops")

    header = [
        "// SPDX-License-Identifier: MIT",
        f"// Generated from {form_name} by generate_form_table.py: edit the form, not this.",
        "#pragma once",
        "",
        '#include "FormControl.h"',
        "",
        "namespace quillon::win32::form {",
        "",
        f"inline constexpr FormWindow Window{{{cpp_string(window.text)}, "
        f"{window.place['width']}, {window.place['height']}, {cpp_string(window.font)}}};",
        "",
        "inline constexpr FormControl Controls[]{",
    ]
    table = [f"# {form_name}: each control's name and place in the client area "
             "(left top width height)"]
    for control in controls:
        for side in ("x", "y", "width", "height"):
            if side not in control.place:
                raise FormError(f"{control.name} has no place of its own ({side})")
        # A place inside a frame counts from the frame's corner; here every place counts from the
        # client area's, and a control without a font of its own has its frame's or the window's.
        left, top, font = control.place["x"], control.place["y"], control.font
        parent = control.parent
        while parent is not window:
            left += parent.place["x"]
            top += parent.place["y"]
            font = font or parent.font
            parent = parent.parent
        font = font or window.font
        # Controls of one kind side by side are numbered: txtHeaderInfo_2 is number 2 of
        # txtHeaderInfo.
        numbered = re.fullmatch(r"(.+)_([0-9]+)", control.name)
        group, index = (numbered.group(1), numbered.group(2)) if numbered else (control.name, -1)
        flags = ", ".join("true" if flag else "false" for flag in (
            control.enabled, control.bordered, control.centred, control.name in tab_stops))
        width, height = control.place["width"], control.place["height"]
        header.append(f'    {{"{control.name}", "{group}", {index}, "{control.kind}", '
                      f"{cpp_string(control.text)}, {{{left}, {top}, {width}, {height}}}, "
                      f"{cpp_string(font)}, {cpp_string(control.pixmap)}, {flags}}},")
        table.append(f"{control.name} {left} {top} {width} {height}")
    header += ["};", "", "} // namespace quillon::win32::form", ""]
    return "\n".join(header), "\n".join(table) + "\n"


def write_if_changed(path, content):
    # Written only when changed, so that what includes it is not rebuilt for nothing.
    target = Path(path)
    if not target.exists() or target.read_bytes() != content.encode("utf-8"):
        target.write_bytes(content.encode("utf-8"))


def main(arguments):
    if len(arguments) != 3:
        sys.exit("usage: generate_form_table.py FORM.ui FormTable.h FormTable.txt")
    form, header_path, table_path = arguments
    try:
        header, table = generate(form)
    except (FormError, ElementTree.ParseError) as error:
        sys.exit(f"{Path(form).name}: {error}")
    write_if_changed(header_path, header)
    write_if_changed(table_path, table)


if __name__ == "__main__":
    main(sys.argv[1:])
