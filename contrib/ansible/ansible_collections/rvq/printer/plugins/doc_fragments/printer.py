# -*- coding: utf-8 -*-
# Copyright (C) 2026 the R-VQ Setting Tool developers.
# All rights reserved.

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    # The options every module of the collection takes.
    DOCUMENTATION = r'''
options:
  printer:
    description: The printer on the LAN, C(HOST:PORT).
    type: str
    required: true
  model:
    description: The printer model, as C(rvqtool models) lists it; default from the settings file.
    type: str
  definitions:
    description: The printer definition file to read instead of the installed one.
    type: path
  settings:
    description: The settings file (C(VQTool.INI)) or its folder, as an absolute path.
    type: path
  rvqtool:
    description: The rvqtool program, a name looked up in C(PATH) or a path.
    type: str
    default: rvqtool
  timeout:
    description: The general time-out of printer exchanges, in seconds.
    type: int
  login_password:
    description: The tool's login password, when one is set.
    type: str
notes:
  - The module runs on the controller (C(connection: local)); the inventory host is the printer.
  - It runs C(rvqtool --json) and reads only its JSON document; a failure carries rvqtool's message.
'''
