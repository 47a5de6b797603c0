#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: facts
short_description: Gather an R-VQ printer's status, model, firmware and counters as facts
description:
  - Asks the printer for its status and, when it answers ready, reads its firmware versions
    and (with I(counters)) its maintenance counters, as the fact C(rvq_printer).
  - The names of the printer's lists become keys in lower case with C(_) between words
    (C(HEAD DISTANCE) is C(head_distance)).
  - Counters are numbers; a counter the printer gives with a unit (C(km), C(mm)) has it in
    C(counter_units).
  - Reading the versions and counters goes through the printer's setting mode, which it leaves
    without a restart; nothing is written.
  - A printer that does not answer, or answers that it is not ready, fails the host with
    rvqtool's message; with I(require_ready=false) a printer that answers not ready gives its
    status facts instead.
version_added: 1.0.0
author: R-VQ Setting Tool developers
extends_documentation_fragment:
  - rvq.printer.printer
options:
  counters:
    description: Also gather the maintenance counters.
    type: bool
    default: false
  require_ready:
    description: Fail the host when the printer answers that it is not ready.
    type: bool
    default: true
notes:
  - Supports check mode; it only reads.
'''

EXAMPLES = r'''
- name: Gather the printers' facts
  rvq.printer.facts:
    printer: "{{ rvq_printer }}"
    counters: true

- name: Show the main firmware
  ansible.builtin.debug:
    var: rvq_printer.firmware.main
'''

RETURN = r'''
ansible_facts:
  description: The fact C(rvq_printer).
  returned: always
  type: complex
  contains:
    rvq_printer:
      description: What the printer reported.
      type: dict
      sample:
        printer: 127.0.0.2:8000
        model: R-VQ4T1-T
        status: {code: 0, ready: true, text: ready}
        firmware: {boot: "R-VQ4T1-T V1.00 :0000", main: "R-VQ4T1-T V1.00 :0000", usb_ver: "1.00", lan_ver: "1.00"}
        counters: {head_distance: 1200, feed_distance: 2311, cut_count: 3422}
        counter_units: {}
'''

import re

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.rvq.printer.plugins.module_utils.rvqtool import (
    PRINTER_ARGUMENT_SPEC, RvqTool)


def fact_name(item):
    """A name of rvqtool's list as a fact key: "HEAD DISTANCE" -> head_distance."""
    return '_'.join(re.findall(r'[a-z0-9]+', item.lower()))


def listed(entries):
    """rvqtool's {"item", "value"[, "number", "unit"]} entries by fact key."""
    return dict((fact_name(e['item']), e) for e in entries or [])


def main():
    argument_spec = dict(PRINTER_ARGUMENT_SPEC)
    argument_spec.update(counters=dict(type='bool', default=False),
                         require_ready=dict(type='bool', default=True))
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True)
    tool = RvqTool(module)

    status = tool.run(['status'])
    doc = status.document
    facts = dict(printer=module.params['printer'],
                 status=dict(code=doc.get('status'), ready=bool(doc.get('ready')), text=doc.get('meaning')))
    if doc.get('status') is None or (not doc.get('ready') and module.params['require_ready']):
        tool.fail(status, ansible_facts=dict(rvq_printer=facts))
    if not doc.get('ready'):
        module.exit_json(changed=False, ansible_facts=dict(rvq_printer=facts))

    info = tool.run(['info', '--section', 'RTC'])
    if not info.ok:
        tool.fail(info, ansible_facts=dict(rvq_printer=facts))
    # The counter list opens with the model the printer reports itself as.
    counters = listed(info.document.get('counters'))
    facts['model'] = counters.pop('model', {}).get('value')
    facts['firmware'] = dict((k, e['value']) for k, e in listed(info.document.get('firmware')).items())
    if module.params['counters']:
        facts['counters'] = dict((k, e.get('number', e['value'])) for k, e in counters.items())
        facts['counter_units'] = dict((k, e['unit']) for k, e in counters.items() if e.get('unit'))
    module.exit_json(changed=False, ansible_facts=dict(rvq_printer=facts))


if __name__ == '__main__':
    main()
