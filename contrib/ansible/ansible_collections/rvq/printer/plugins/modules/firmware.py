#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: firmware
short_description: Download firmware ROM files to an R-VQ printer unless it runs them already
description:
  - Reads the versions in the ROM files' trailers and the BOOT and MAIN versions the printer
    reports; when every ROM file is a BOOT or MAIN image of the version the printer runs,
    nothing is sent and the task reports C(changed=false).
  - Otherwise the ROM files are downloaded as C(rvqtool firmware) does (sorted by section,
    checked against the model, the versions verified after the restart).
  - The printer reports no version for the other sections (C/G, XML, WMON, KANJI, CHINESE),
    so a list holding one of them is always sent.
  - With I(backup_dir) the printer's parameters and information are backed up first, and
    nothing is sent when the backup failed.
  - Check mode reads the versions and sends nothing.
version_added: 1.0.0
author: R-VQ Setting Tool developers
extends_documentation_fragment:
  - rvq.printer.printer
options:
  roms:
    description: The ROM files (absolute paths), one per section.
    type: list
    elements: path
    required: true
  backup_dir:
    description: A folder where a backup of the printer is made before the download.
    type: path
notes:
  - Supports check mode and diff mode.
'''

EXAMPLES = r'''
- name: Main firmware V1.10, with a backup first
  rvq.printer.firmware:
    printer: "{{ rvq_printer }}"
    roms: [/srv/rvq/firmware/MAIN-V110.BIN]
    backup_dir: /srv/rvq/backups
'''

RETURN = r'''
versions:
  description: By section, the version the printer ran (C(before)) and the ROM file's (C(after)).
  returned: always
  type: dict
  sample: {MAIN: {before: V1.00, after: V1.10}}
job_lines:
  description: The lines of the download job.
  returned: when the ROM files were sent
  type: list
  elements: str
rvqtool:
  description: On failure, the run's command, exit code, result, message number and job lines.
  returned: failure
  type: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.rvq.printer.plugins.module_utils.rvqtool import (
    PRINTER_ARGUMENT_SPEC, RvqTool, job_lines)

# The sections whose running version the printer reports, and the name it
# reports each under.
REPORTED = {'BOOT': 'BOOT', 'BOOT2': 'BOOT', 'MAIN': 'MAIN', 'MAIN2': 'MAIN'}


def version_of(value):
    """The version of a firmware line: "R-VQ4T1-T V1.00 :0000" -> "V1.00"."""
    colon = value.rfind(':')
    if colon < 0:
        return ''
    head = value[:colon].rstrip()
    return head.rsplit(' ', 1)[-1]


def main():
    argument_spec = dict(PRINTER_ARGUMENT_SPEC)
    argument_spec.update(roms=dict(type='list', elements='path', required=True),
                         backup_dir=dict(type='path'))
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True)
    tool = RvqTool(module)
    roms = module.params['roms']
    if not roms:
        module.fail_json(msg='roms: no ROM file given')

    trailers = tool.run(['rom-info'] + roms, printer=False)
    if not trailers.ok:
        tool.fail(trailers)
    info = tool.run(['info', '--section', 'RTC'])
    if not info.ok:
        tool.fail(info)
    running = dict((e['item'], version_of(e['value'])) for e in info.document.get('firmware') or [])

    versions = {}
    needed = False
    for rom in trailers.document.get('roms') or []:
        section = rom['section']
        before = running.get(REPORTED.get(section, ''), None)
        versions[section] = dict(before=before, after=rom['version'])
        needed = needed or before is None or before != rom['version']
    result = dict(changed=needed, versions=versions)
    if module._diff:
        lines = lambda key: ''.join('%s: %s\n' % (s, v[key] or '(not reported)') for s, v in sorted(versions.items()))
        result['diff'] = dict(before=lines('before'), after=lines('after'))
    if not needed or module.check_mode:
        module.exit_json(**result)

    args = ['--yes', 'firmware'] + roms
    if module.params['backup_dir']:
        args += ['--backup-first', module.params['backup_dir']]
    sent = tool.run(args)
    if not sent.ok:
        tool.fail(sent, versions=versions)
    result['job_lines'] = job_lines(sent.document)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
