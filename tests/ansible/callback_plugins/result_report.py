# Writes every task result of a playbook run, and the run's statistics, as one
# JSON document to the file RVQ_ANSIBLE_REPORT names, beside the usual screen
# output. The collection's tests read what each module returned from it.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
name: result_report
type: notification
short_description: every task result as one JSON document
description: Writes the results to the file named by RVQ_ANSIBLE_REPORT.
'''

import json
import os

from ansible.plugins.callback import CallbackBase


class CallbackModule(CallbackBase):
    CALLBACK_VERSION = 2.0
    CALLBACK_TYPE = 'notification'
    CALLBACK_NAME = 'result_report'
    CALLBACK_NEEDS_ENABLED = True

    def __init__(self):
        super(CallbackModule, self).__init__()
        self.tasks = []

    def _record(self, result, status):
        name = result._task.get_name()
        if not self.tasks or self.tasks[-1]['name'] != name or result._host.get_name() in self.tasks[-1]['hosts']:
            self.tasks.append(dict(name=name, hosts={}))
        outcome = dict(result._result)
        outcome['status'] = status
        self.tasks[-1]['hosts'][result._host.get_name()] = outcome

    def v2_runner_on_ok(self, result):
        self._record(result, 'ok')

    def v2_runner_on_failed(self, result, ignore_errors=False):
        self._record(result, 'failed')

    def v2_runner_on_skipped(self, result):
        self._record(result, 'skipped')

    def v2_runner_on_unreachable(self, result):
        self._record(result, 'unreachable')

    def v2_playbook_on_stats(self, stats):
        report = dict(tasks=self.tasks,
                      stats=dict((h, stats.summarize(h)) for h in sorted(stats.processed)))
        with open(os.environ['RVQ_ANSIBLE_REPORT'], 'w') as f:
            json.dump(report, f, default=str)
