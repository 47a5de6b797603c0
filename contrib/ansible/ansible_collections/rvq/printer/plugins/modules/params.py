#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: params
short_description: Set an R-VQ printer's parameters, writing only what differs
description:
  - Brings the printer's parameters to the values of a settings file (I(src)) or of
    I(values), item name to value, merged over what the printer has.
  - The printer is read first and compared; only the groups that hold a change are
    written, and a printer that already has every value is left alone, so a second
    run with the same input reports C(changed=false).
  - Reading goes through the printer's setting mode, which the printer leaves without
    a restart; only a write restarts it.
  - Check mode reads and compares but never writes; C(--diff) shows each item that
    would change, before and after. Passwords and keys are never shown.
version_added: 1.0.0
author: R-VQ Setting Tool developers
extends_documentation_fragment:
  - rvq.printer.printer
options:
  src:
    description:
      - A settings file (as C(rvqtool get-params --out) writes it); the groups it turns ON
        are compared and, where they differ, written.
      - Absolute path. Mutually exclusive with I(values).
    type: path
  values:
    description:
      - Item names (the names of a settings file's C([ITEM]) section) and the values to give
        them, as the settings file writes them (C(Contrast=7), C(LCDLanguage=English)).
      - Every other item keeps the value the printer has.
      - Values of password and key items are kept out of the output and the logs.
    type: dict
  groups:
    description:
      - The groups to compare and write (C(DISPLAY_GROUP), C(TCPIP_GROUP), ...).
      - With I(values), the default is every group; only groups holding a change are written.
        Each item of I(values) must belong to one of them.
      - With I(src), the default is the groups the file turns ON; given, exactly these are ON.
    type: list
    elements: str
notes:
  - Supports check mode and diff mode.
'''

EXAMPLES = r'''
- name: Display and LAN settings
  rvq.printer.params:
    printer: "{{ rvq_printer }}"
    settings: /etc/rvq/VQTool.INI
    groups: [DISPLAY_GROUP, TCPIP_GROUP]
    values:
      Contrast: 7
      DefaultGateway: 127.0.0.1

- name: The groups a settings file turns ON
  rvq.printer.params:
    printer: "{{ rvq_printer }}"
    src: /srv/rvq/site.tsi
'''

RETURN = r'''
changes:
  description: Each item that differed (or, in check mode, would differ), with its value before and after.
  returned: always
  type: list
  elements: dict
  sample: [{group: DISPLAY_GROUP, item: Contrast, before: "4", after: "7"}]
groups:
  description: The groups written (in check mode, the groups a write would take).
  returned: always
  type: list
  elements: str
  sample: [DISPLAY_GROUP]
job_lines:
  description: The lines of the printer jobs of the run.
  returned: always
  type: list
  elements: str
rvqtool:
  description: On failure, the run's command, exit code, result, message number and job lines.
  returned: failure
  type: dict
'''

import os
import shutil
import tempfile

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.six import iteritems, string_types
from ansible_collections.rvq.printer.plugins.module_utils.rvqtool import (
    EXIT_OK, EXIT_WOULD_CHANGE, PRINTER_ARGUMENT_SPEC, RvqTool, job_lines)
from ansible_collections.rvq.printer.plugins.module_utils.settings_file import (
    merge_items, set_groups)


def value_text(value):
    if isinstance(value, bool):
        raise TypeError('a yes/no value; give the text the settings file holds, e.g. Enable')
    if isinstance(value, (int, float)) or isinstance(value, string_types):
        return str(value)
    raise TypeError('a %s, not a text or a number' % type(value).__name__)


def secret_items(tool):
    """The names of the configured model's password and key items."""
    model = tool.module.params.get('model')
    if not model:
        config = tool.run(['config'], printer=False)
        if not config.ok:
            tool.fail(config)
        model = next((f['value'] for f in config.document.get('fields', []) if f.get('name') == 'printerModel'), '')
    described = tool.run(['model', model], printer=False)
    if not described.ok:
        tool.fail(described)
    return set(i['name'] for i in described.document['model']['items'] if i.get('encode'))


def prepare_file(tool, folder):
    """The settings file to compare with the printer, in `folder`."""
    params = tool.module.params
    path = os.path.join(folder, 'wanted.tsi')
    if params['src']:
        shutil.copyfile(params['src'], path)
        if params['groups']:
            set_groups(path, params['groups'])
        return path
    groups = ','.join(params['groups']) if params['groups'] else 'all'
    read = tool.run(['get-params', '--out', path, '--groups', groups])
    if not read.ok:
        tool.fail(read)
    texts = {}
    for name, value in iteritems(params['values']):
        try:
            texts[name] = value_text(value)
        except TypeError as e:
            tool.module.fail_json(msg='values: %s is %s' % (name, e))
    try:
        merge_items(path, texts)
    except ValueError as e:
        tool.module.fail_json(msg='values: %s' % e)
    return path


def printer_of(document):
    printers = document.get('printers') or [{}]
    return printers[0]


def diff_text(changes):
    return ''.join('%s: %s\n' % (c['item'], c['value']) for c in changes)


def main():
    argument_spec = dict(PRINTER_ARGUMENT_SPEC)
    argument_spec.update(
        src=dict(type='path'),
        values=dict(type='dict'),
        groups=dict(type='list', elements='str'),
    )
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True,
                           mutually_exclusive=[('src', 'values')], required_one_of=[('src', 'values')])
    tool = RvqTool(module)
    if module.params['values']:
        secrets = secret_items(tool)
        for name, value in iteritems(module.params['values']):
            if name in secrets and value is not None:
                module.no_log_values.add(str(value))

    folder = tempfile.mkdtemp(prefix='rvq-params-')
    try:
        path = prepare_file(tool, folder)
        compared = tool.run(['diff', path])
        if compared.exit_code not in (EXIT_OK, EXIT_WOULD_CHANGE):
            tool.fail(compared)
        printer = printer_of(compared.document)
        items = printer.get('items') or []
        compared_groups = [g for g in (compared.document.get('groups') or '').split(',') if g]
        unknown = [g for g in module.params['groups'] or [] if g.upper() not in [c.upper() for c in compared_groups]]
        if unknown:
            module.fail_json(msg='groups: %s not a group of the printer model (%s compared)'
                             % (', '.join(unknown) + (' is' if len(unknown) == 1 else ' are'),
                                ','.join(compared_groups) or 'none'))
        if module.params['values']:
            known = set(i['item'] for i in items)
            missing = sorted(set(module.params['values']) - known)
            if missing:
                module.fail_json(msg='values: %s not an item of the groups compared (%s)'
                                 % (', '.join(missing) + (' is' if len(missing) == 1 else ' are'),
                                    compared.document.get('groups')))
        changes = [dict(group=i['group'], item=i['item'], before=i['printer'], after=i['file'])
                   for i in items if i['changed']]
        groups = []
        for change in changes:
            if change['group'] not in groups:
                groups.append(change['group'])
        result = dict(changed=bool(changes), changes=changes, groups=groups, job_lines=job_lines(compared.document))
        if module._diff:
            result['diff'] = dict(
                before_header='%s (the printer)' % module.params['printer'],
                after_header='%s (wanted)' % module.params['printer'],
                before=diff_text([dict(item=c['item'], value=c['before']) for c in changes]),
                after=diff_text([dict(item=c['item'], value=c['after']) for c in changes]))
        if not changes or module.check_mode:
            module.exit_json(**result)

        written = tool.run(['--yes', 'set-params', path, '--changed-only'])
        result['job_lines'] += job_lines(written.document)
        if not written.ok:
            tool.fail(written, changes=changes, groups=groups)
        wrote = printer_of(written.document)
        result['changed'] = bool(wrote.get('changed'))
        result['groups'] = wrote.get('groups') or []
        module.exit_json(**result)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
