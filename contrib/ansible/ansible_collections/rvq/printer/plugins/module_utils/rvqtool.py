# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.
"""Runs rvqtool --json for the modules of this collection.

rvqtool prints exactly one JSON document for every run, whatever happens,
so a module reads only that document: its exitCode and result say how the
run went and error.message says why it failed, in rvqtool's own words.
Nothing here reads the human-readable text rvqtool writes to the error
stream.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# The options every module of the collection takes.
PRINTER_ARGUMENT_SPEC = dict(
    printer=dict(type='str', required=True),
    model=dict(type='str'),
    definitions=dict(type='path'),
    settings=dict(type='path'),
    rvqtool=dict(type='str', default='rvqtool'),
    timeout=dict(type='int'),
    login_password=dict(type='str', no_log=True),
)

EXIT_OK = 0
EXIT_FAILED = 1
EXIT_WOULD_CHANGE = 3


class RvqRun(object):
    """One finished rvqtool run: its JSON document."""

    def __init__(self, document):
        self.document = document

    @property
    def exit_code(self):
        return self.document.get('exitCode')

    @property
    def ok(self):
        return self.exit_code == EXIT_OK

    @property
    def message(self):
        error = self.document.get('error') or {}
        return error.get('message') or ('rvqtool ended with the result %s' % self.document.get('result'))

    def summary(self):
        """What a failed task reports besides the message."""
        error = self.document.get('error') or {}
        return dict(command=self.document.get('command'), exit_code=self.exit_code,
                    result=self.document.get('result'), message_id=error.get('id'),
                    job_lines=job_lines(self.document))


def job_lines(document):
    """The display lines of every printer job of a run, in order."""
    lines = []
    for run in document.get('runs') or []:
        for printer in run.get('printers') or []:
            lines.extend(printer.get('lines') or [])
    return lines


class RvqTool(object):
    """rvqtool for one printer: the module's connection options on every run."""

    def __init__(self, module):
        self.module = module
        self.program = self._find_program(module.params['rvqtool'])

    def _find_program(self, name):
        if os.sep in name:
            path = os.path.expanduser(name)
            if not (os.path.isfile(path) and os.access(path, os.X_OK)):
                self.module.fail_json(msg='rvqtool: %s is not a program this user can run' % name)
            return path
        return self.module.get_bin_path(name, required=True)

    def command_line(self, args, printer=True):
        params = self.module.params
        line = [self.program, '--json']
        if printer:
            line += ['--lan', params['printer']]
        for option, key in (('--model', 'model'), ('--definitions', 'definitions'), ('--settings', 'settings')):
            if params.get(key):
                line += [option, params[key]]
        if printer and params.get('timeout') is not None:
            line += ['--timeout', str(params['timeout'])]
        return line + list(args)

    def run(self, args, printer=True):
        """Runs rvqtool with `args` and returns its document as an RvqRun.

        A run that gives no document (the program crashed or is not rvqtool)
        fails the task with what it wrote to its error stream.
        """
        environ = {}
        if self.module.params.get('login_password') is not None:
            environ['RVQ_PASSWORD'] = self.module.params['login_password']
        rc, out, err = self.module.run_command(self.command_line(args, printer), environ_update=environ)
        try:
            document = json.loads(out)
        except ValueError:
            document = None
        if not isinstance(document, dict) or 'exitCode' not in document:
            last = [line for line in (err or '').splitlines() if line.strip()]
            self.module.fail_json(msg='rvqtool gave no JSON document (exit %s): %s'
                                  % (rc, last[-1] if last else 'no message'), rc=rc)
        return RvqRun(document)

    def fail(self, run, **extra):
        """Fails the task with rvqtool's message."""
        result = dict(rvqtool=run.summary())
        result.update(extra)
        self.module.fail_json(msg=run.message, **result)
