#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: command
short_description: Run a maintenance job on an R-VQ printer
description:
  - Runs one maintenance job of C(rvqtool) against the printer and reports it as Ansible expects.
  - A job that changes the printer reports C(changed); C(head_check) only checks and never reports a change.
  - In check mode nothing is sent to the printer; the result says whether the job would change it.
version_added: 1.0.0
author: R-VQ Setting Tool developers
extends_documentation_fragment:
  - rvq.printer.printer
options:
  job:
    description:
      - The maintenance job.
      - C(reset) restarts the printer; C(restore_online) takes it out of its setting mode.
      - C(head_check) checks the print head and fails when an element is broken.
      - C(counter_clear), C(param_clear) and C(factory_default) clear what they name and restart the printer.
    type: str
    required: true
    choices: [reset, restore_online, head_check, counter_clear, param_clear, factory_default]
  counters:
    description: The counters C(counter_clear) clears.
    type: str
    choices: [all, feed, print, cut]
    default: all
  destination:
    description: The destination whose values C(param_clear) restores.
    type: str
    choices: [JA, QM, QQ, QP, CN]
notes:
  - Supports check mode.
'''

EXAMPLES = r'''
- name: Check the print heads
  rvq.printer.command:
    printer: "{{ rvq_printer }}"
    job: head_check

- name: Clear the feed counter
  rvq.printer.command:
    printer: "{{ rvq_printer }}"
    job: counter_clear
    counters: feed
'''

RETURN = r'''
job_lines:
  description: The lines the printer job displayed.
  returned: when the job ran
  type: list
  elements: str
  sample: ["[127.0.0.2]Head Check , Start", "[127.0.0.2]Head Check , Succeed"]
rvqtool:
  description: On failure, the run's command, exit code, result, message number and job lines.
  returned: failure
  type: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.rvq.printer.plugins.module_utils.rvqtool import (
    PRINTER_ARGUMENT_SPEC, RvqTool, job_lines)

# The command line of each job, and whether it changes the printer.
JOBS = {
    'reset': (['reset', '--yes'], True),
    'restore_online': (['restore-online'], True),
    'head_check': (['head-check', '--yes'], False),
    'counter_clear': (['counter-clear', None, '--yes'], True),
    'param_clear': (['param-clear', None, '--yes'], True),
    'factory_default': (['factory-default', '--yes'], True),
}


def main():
    argument_spec = dict(PRINTER_ARGUMENT_SPEC)
    argument_spec.update(
        job=dict(type='str', required=True, choices=sorted(JOBS)),
        counters=dict(type='str', default='all', choices=['all', 'feed', 'print', 'cut']),
        destination=dict(type='str', choices=['JA', 'QM', 'QQ', 'QP', 'CN']),
    )
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True,
                           required_if=[('job', 'param_clear', ['destination'])])
    job = module.params['job']
    template, changes = JOBS[job]
    argument = module.params['counters'] if job == 'counter_clear' else module.params['destination']
    args = [argument if part is None else part for part in template]

    tool = RvqTool(module)
    if module.check_mode:
        module.exit_json(changed=changes, msg='check mode: %s not run' % job)
    run = tool.run(args)
    if not run.ok:
        tool.fail(run)
    module.exit_json(changed=changes, job_lines=job_lines(run.document))


if __name__ == '__main__':
    main()
