# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.
"""Edits of a settings file that rvqtool wrote: item values and group switches.

The file is an INI file with CR LF line ends ([HEADER], [GROUP] with
NAME=ON|OFF, [ITEM] with NAME=VALUE); sections and keys match without
regard to case, as rvqtool reads them. Lines this does not change are kept
byte for byte.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

# The code page of a settings file written by the English interface.
ENCODING = 'cp1252'


def _read_lines(path):
    with open(path, 'rb') as f:
        data = f.read()
    lines = data.split(b'\r\n')
    if lines and lines[-1] == b'':
        lines.pop()
    return lines


def _write_lines(path, lines):
    with open(path, 'wb') as f:
        f.write(b''.join(line + b'\r\n' for line in lines))


def _section_of(line):
    stripped = line.strip()
    if stripped.startswith(b'[') and stripped.endswith(b']'):
        return stripped[1:-1].strip().upper()
    return None


def _key_of(line):
    if b'=' not in line:
        return None
    return line.split(b'=', 1)[0].strip().upper()


def _set_keys(path, section, values):
    """Gives keys of `section` the values (bytes by key name, any case).

    A key the section lacks is added at its end, and a missing section at
    the end of the file.
    """
    pending = dict((k.upper(), (k, v)) for k, v in values.items())
    out = []
    current = None
    found = False

    def flush():
        for key in list(pending):
            name, value = pending.pop(key)
            out.append(name.encode('ascii') + b'=' + value)

    for line in _read_lines(path):
        heading = _section_of(line)
        if heading is not None:
            if current == section:
                flush()
            current = heading
            found = found or heading == section
        elif current == section and _key_of(line) in pending:
            line = line.split(b'=', 1)[0] + b'=' + pending.pop(_key_of(line))[1]
        out.append(line)
    if not found:
        out.append(b'[' + section.encode('ascii') + b']')
    flush()
    _write_lines(path, out)


def merge_items(path, values):
    """Sets [ITEM] NAME=VALUE for each item of `values` (text by name)."""
    encoded = {}
    for name, value in values.items():
        try:
            encoded[name] = value.encode(ENCODING)
        except UnicodeEncodeError:
            raise ValueError('%s: %r cannot be written in a settings file (code page 1252)' % (name, value))
        if b'\r' in encoded[name] or b'\n' in encoded[name]:
            raise ValueError('%s: a value is one line' % name)
    _set_keys(path, 'ITEM', encoded)


def set_groups(path, groups):
    """Turns exactly `groups` ON in [GROUP]; every other group is OFF."""
    wanted = dict((g.upper(), g) for g in groups)
    out = []
    current = None
    for line in _read_lines(path):
        heading = _section_of(line)
        if heading is not None:
            current = heading
        elif current == 'GROUP' and _key_of(line) is not None:
            key = _key_of(line)
            line = line.split(b'=', 1)[0] + (b'=ON' if key in wanted else b'=OFF')
            wanted.pop(key, None)
        out.append(line)
    _write_lines(path, out)
    if wanted:
        _set_keys(path, 'GROUP', dict((name, b'ON') for name in wanted.values()))
