#!/usr/bin/env python3
"""The rvq.printer collection against three simulated printers on loopback.

    collection_test.py BUILD_DIR [--collection DIR]

Builds the collection with ansible-galaxy, installs it into a temporary
folder and runs the playbooks of playbooks/ against rvq-printer-sim: two
printers that are ready and one that reports an error. What the modules did
is read from ansible-playbook's JSON report and from the simulator's command
log, and compared with what rvqtool itself answers. Prints one line per
check and exits 1 when one failed.
"""

import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PLAYBOOKS = os.path.join(HERE, 'playbooks')
SOURCE = os.path.dirname(os.path.dirname(HERE))
DEFAULT_COLLECTION = os.path.join(SOURCE, 'contrib', 'ansible', 'ansible_collections', 'rvq', 'printer')
ERROR_STATUS = 6

failures = []


def check(ok, what, detail=''):
    print('%s  %s%s' % ('ok    ' if ok else 'FAILED', what, '' if ok or not detail else ': %s' % detail))
    if not ok:
        failures.append(what)
    return ok


class Fleet(object):
    """The simulator process, its printers and its command log."""

    def __init__(self, sim, definitions, folder, env):
        self.log = os.path.join(folder, 'sim.log')
        open(self.log, 'w').close()
        command = [sim, '--definitions', definitions, '--restart-ms', '300', '--program-ms', '300',
                   '--log', self.log,
                   '--lan', '127.0.0.2:0',
                   '--lan', '127.0.0.3:0', '--main-version', 'V1.10',
                   '--lan', '127.0.0.4:0', '--error-status', str(ERROR_STATUS)]
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                        universal_newlines=True, env=env)
        self.endpoints = []
        while len(self.endpoints) < 3:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError('the simulator ended before it listened')
            match = re.match(r'listening (127\.[0-9.]+):([0-9]+)', line)
            if match:
                self.endpoints.append('%s:%s' % match.groups())

    def mark(self):
        with open(self.log) as f:
            return len(f.readlines())

    def commands(self, since=0):
        """(printer index, command text) of every command since a mark."""
        with open(self.log) as f:
            entries = [json.loads(line) for line in f.readlines()[since:] if line.strip()]
        return [(e['printer'], e.get('command', '')) for e in entries]

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


# What a reading run sends: the status and type requests, entering and
# leaving the setting mode without a restart, and the get commands of the
# parameters and the information blocks. Anything else changes the printer.
READS = re.compile(r'^(WS|WV|ZSS|ZSR|Z[A-Z]|ZWR[0-9]+|ZLR[0-9]+)$')


def writes(commands, printer=None):
    """The commands of `commands` (of one printer, or all) that are not reads."""
    return [c for p, c in commands if (printer is None or p == printer) and not READS.match(c)]


class Ansible(object):
    def __init__(self, folder, inventory, env):
        self.folder = folder
        self.inventory = inventory
        self.env = env

    def play(self, playbook, *args, **extra_vars):
        command = ['ansible-playbook', '-i', self.inventory, os.path.join(PLAYBOOKS, playbook)]
        command += list(args)
        if extra_vars:
            command += ['-e', json.dumps(extra_vars)]
        report = os.path.join(self.folder, 'report.json')
        if os.path.exists(report):
            os.remove(report)
        env = dict(self.env, RVQ_ANSIBLE_REPORT=report)
        run = subprocess.run(command, env=env, cwd=self.folder, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, universal_newlines=True, timeout=300)
        try:
            with open(report) as f:
                document = json.load(f)
        except (IOError, ValueError):
            raise RuntimeError('ansible-playbook wrote no report (exit %d): %s' % (run.returncode, run.stdout[-3000:]))
        return Play(run.returncode, document, run.stdout)


class Play(object):
    """One ansible-playbook run: its exit code, screen output and report."""

    def __init__(self, exit_code, report, output):
        self.exit_code = exit_code
        self.report = report
        self.output = output
        self.stats = report.get('stats', {})

    def results(self, task_name):
        """Host -> result of the task named `task_name`."""
        found = {}
        for task in self.report.get('tasks', []):
            if task['name'] == task_name:
                found.update(task['hosts'])
        return found


def rvqtool_json(env, *args):
    run = subprocess.run(['rvqtool', '--json'] + list(args), env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, universal_newlines=True, timeout=120)
    return json.loads(run.stdout)


def item_value(env, settings, printer, name):
    document = rvqtool_json(env, '--settings', settings, '--lan', printer, 'get-params')
    return next(i['value'] for i in document.get('items', []) if i['name'] == name)


def rom_file(path, section, version, model='R-VQ4T1', kb=16):
    """A ROM file as the firmware page reads it: an image whose last 256
    bytes are the trailer naming size, section, version and model."""
    image = bytearray((i * 7 + len(section) * 31 + ord(version[-1])) % 251 for i in range(kb * 1024))
    trailer = bytearray(b' ' * 256)
    trailer[0:4] = kb.to_bytes(4, 'big')
    trailer[4:8] = b'\x00\xb0\x00\x00'
    trailer[0x20:0x29] = b'25OCT2010'
    trailer[0x30:0x30 + len(model)] = model.encode()
    trailer[0x40:0x40 + len(version)] = version.encode()
    trailer[0x50:0x50 + len(section)] = section.encode()
    trailer[0xF0:0xFD] = b'VNTA LOADFILE'
    image[-256:] = trailer
    with open(path, 'wb') as f:
        f.write(bytes(image))
    return path


def ansible_python():
    """The Python that runs ansible-playbook, for the modules too."""
    program = shutil.which('ansible-playbook')
    with open(program) as f:
        line = f.readline()
    return line[2:].strip().split()[0] if line.startswith('#!') and 'env' not in line else sys.executable


def build_collection(source, folder, env):
    shutil.copytree(source, os.path.join(folder, 'src', 'ansible_collections', 'rvq', 'printer'),
                    ignore=shutil.ignore_patterns('tests/output', '*.tar.gz', '__pycache__'))
    subprocess.run(['ansible-galaxy', 'collection', 'build', '--output-path', folder,
                    os.path.join(folder, 'src', 'ansible_collections', 'rvq', 'printer')],
                   env=env, check=True, stdout=subprocess.PIPE, universal_newlines=True)
    tarball = os.path.join(folder, 'rvq-printer-1.0.0.tar.gz')
    installed = os.path.join(folder, 'collections')
    subprocess.run(['ansible-galaxy', 'collection', 'install', '-p', installed, tarball],
                   env=env, check=True, stdout=subprocess.PIPE, universal_newlines=True)
    check(os.path.isfile(os.path.join(installed, 'ansible_collections', 'rvq', 'printer', 'MANIFEST.json')),
          'ansible-galaxy builds the collection and installs it')
    return installed


# The sanity tests of ansible-test that run without a network: the others
# first install their tools from the package index into a virtualenv.
OFFLINE_SANITY = ['action-plugin-docs', 'changelog', 'compile', 'empty-init', 'future-import-boilerplate',
                  'ignores', 'line-endings', 'metaclass-boilerplate', 'no-assert', 'no-basestring',
                  'no-dict-iteritems', 'no-dict-iterkeys', 'no-dict-itervalues', 'no-get-exception',
                  'no-illegal-filenames', 'no-main-display', 'no-smart-quotes', 'no-unicode-literals',
                  'replace-urlopen', 'shebang', 'symlinks', 'use-argspec-type-path', 'use-compat-six']
MODULES = ['params', 'facts', 'firmware', 'command']


def test_sanity(folder, env):
    source = os.path.join(folder, 'src', 'ansible_collections', 'rvq', 'printer')
    python = '%d.%d' % sys.version_info[:2]
    command = ['ansible-test', 'sanity', '--color', 'no', '--python', python]
    for test in OFFLINE_SANITY:
        command += ['--test', test]
    run = subprocess.run(command, cwd=source, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         universal_newlines=True, timeout=300)
    ran = re.findall(r'Running sanity test "([a-z0-9-]+)"', run.stdout)
    check(run.returncode == 0 and sorted(set(ran)) == sorted(OFFLINE_SANITY),
          'ansible-test sanity: %s' % ' '.join(OFFLINE_SANITY), run.stdout[-3000:])
    for module in MODULES:
        doc = subprocess.run(['ansible-doc', '--json', 'rvq.printer.' + module], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, universal_newlines=True, timeout=60)
        try:
            entry = json.loads(doc.stdout)['rvq.printer.' + module]
        except (ValueError, KeyError):
            entry = {}
        options = entry.get('doc', {}).get('options', {})
        check('printer' in options and entry.get('examples') and entry.get('return'),
              'ansible-doc rvq.printer.%s: options (with the shared ones), examples, return values' % module,
              doc.stderr[-500:])


def write_settings(folder, printer):
    """A VQTool.INI naming a loopback printer, beside a definition file."""
    host, port = printer.split(':')
    path = os.path.join(folder, 'VQTool.INI')
    with open(path, 'wb') as f:
        f.write(('[HEADER]\r\nTITLE=R-VQ Setting Tool\r\nVERSION=V001.000\r\n[LANGUAGE]\r\nLANGUAGE=ENG\r\n'
                 '[PRINTER]\r\nPRINTER=R-VQ4T1-T\r\nDESTINATION=QM\r\nDEVICE=LAN\r\n'
                 '[LAN]\r\nNAME=%s\r\nPORT=%s\r\n' % (host, port)).encode())
    return path


def test_params(ansible, fleet, env, settings, hosts):
    good = ['p1', 'p2']
    before = {h: item_value(env, settings, hosts[h], 'Contrast') for h in good}
    wanted = str((int(before['p1']) + 3) % 10)
    refused = rvqtool_json(env, '--settings', settings, '--lan', hosts['p3'], 'get-params')

    mark = fleet.mark()
    play = ansible.play('params.yml', '--check', '--diff', contrast=wanted)
    results = play.results('Display and LAN groups')
    check(all(results[h].get('changed') is True for h in good), 'check mode: the ready printers would change',
          {h: results[h].get('changed') for h in good})
    check(writes(fleet.commands(mark)) == [], 'check mode: the simulator received no set and no restart',
          writes(fleet.commands(mark)))
    for h in good:
        diff = results[h].get('diff') or {}
        if isinstance(diff, list):
            diff = diff[0] if diff else {}
        check('Contrast: %s\n' % before[h] in diff.get('before', '') and 'Contrast: %s\n' % wanted in diff.get('after', ''),
              'check mode --diff on %s: Contrast %s before, %s after' % (h, before[h], wanted), diff)
        changes = dict((c['item'], (c['before'], c['after'])) for c in results[h].get('changes', []))
        check(changes.get('Contrast') == (before[h], wanted) and changes.get('DefaultGateway', ('', ''))[1] == '127.0.0.1',
              'check mode on %s: the changes name each item before and after' % h, changes)
    check(results['p3'].get('status') == 'failed' and results['p3'].get('msg') == refused['error']['message'],
          'the printer in error fails with rvqtool\'s own message',
          '%r, rvqtool: %r' % (results['p3'].get('msg'), refused['error']['message']))
    check('Traceback' not in json.dumps(results['p3']), 'the failed host shows no traceback')
    reached = play.results('Reached after the set')
    check(sorted(reached) == good, 'the other printers continue after one failed', sorted(reached))
    check(all(item_value(env, settings, hosts[h], 'Contrast') == before[h] for h in good),
          'check mode left the values as they were')

    mark = fleet.mark()
    play = ansible.play('params.yml', '--diff', contrast=wanted)
    results = play.results('Display and LAN groups')
    check(all(results[h].get('changed') is True for h in good), 'apply: the ready printers changed',
          {h: results[h].get('msg', results[h].get('changed')) for h in good})
    commands = fleet.commands(mark)
    check(all(writes(commands, i) for i in (0, 1)) and not writes(commands, 2),
          'apply: the ready printers were set, the one in error was not', writes(commands))
    check(all(item_value(env, settings, hosts[h], 'Contrast') == wanted for h in good),
          'apply: the printers hold the new contrast')
    check(all(results[h].get('groups') == ['DISPLAY_GROUP', 'TCPIP_GROUP'] for h in good),
          'apply: the groups written are those holding a change', {h: results[h].get('groups') for h in good})

    mark = fleet.mark()
    play = ansible.play('params.yml', '--diff', contrast=wanted)
    results = play.results('Display and LAN groups')
    check(all(results[h].get('changed') is False for h in good), 'second apply: changed is false on every host',
          {h: results[h].get('changed') for h in good})
    check(all(not (results[h].get('diff') or {}).get('after') for h in good if isinstance(results[h].get('diff'), dict)),
          'second apply: --diff shows nothing')
    check(writes(fleet.commands(mark)) == [], 'second apply: no set and no restart reached a printer',
          writes(fleet.commands(mark)))
    check(play.stats.get('p3', {}).get('failures') == 1 and play.exit_code != 0,
          'second apply: the printer in error still fails the run')



def test_bad_values(ansible, env, settings):
    play = ansible.play('params.yml', contrast='99', target='p1')
    result = play.results('Display and LAN groups')['p1']
    check(result.get('status') == 'failed' and 'Contrast' in result.get('msg', '') and 'Traceback' not in json.dumps(result),
          'a value out of range fails with rvqtool\'s message', result.get('msg'))


def test_secret(ansible, fleet, folder):
    key = 'horse-battery-staple-%d' % os.getpid()
    mark = fleet.mark()
    play = ansible.play('secret.yml', '--check', '--diff', '-v', target='p1', psk=key)
    result = play.results('WPA key')['p1']
    with open(os.path.join(folder, 'report.json')) as f:
        report = f.read()
    check(result.get('status') == 'ok' and key not in play.output and key not in report,
          'a key given in values is kept out of the output and the results',
          result.get('msg') or ('shown' if key in play.output + report else ''))
    check(writes(fleet.commands(mark)) == [], 'a key in check mode: nothing written', writes(fleet.commands(mark)))


def test_rollout(ansible, fleet, env, settings, hosts):
    wanted = str((int(item_value(env, settings, hosts['p1'], 'Contrast')) + 1) % 10)
    mark = fleet.mark()
    play = ansible.play('rollout.yml', contrast=wanted)
    results = play.results('Display contrast')
    commands = fleet.commands(mark)
    check(results.get('p1', {}).get('changed') is True and results.get('p3', {}).get('status') == 'failed',
          'rollout: the first printer changed, the second failed', {h: r.get('msg', r.get('changed')) for h, r in results.items()})
    check('p2' not in results and [c for p, c in commands if p == 1] == [],
          'rollout: after the failure the third printer is not touched', sorted(results))
    check(play.exit_code != 0, 'rollout: ansible-playbook reports the failure', play.exit_code)


def test_facts(ansible, env, settings, hosts):
    play = ansible.play('facts.yml')
    results = play.results('Status, model, firmware and counters')
    for h, main_version in (('p1', 'V1.00'), ('p2', 'V1.10')):
        facts = results[h].get('ansible_facts', {}).get('rvq_printer', {})
        info = rvqtool_json(env, '--settings', settings, '--lan', hosts[h], 'info', '--section', 'RTC')
        numbers = dict((c['item'], c['number']) for c in info['counters'] if 'number' in c)
        counters = facts.get('counters', {})
        check(counters.get('head_distance') == numbers.get('HEAD DISTANCE') and
              all(type(v) in (int, float) for v in counters.values()) and len(counters) == len(numbers),
              'facts on %s: the counters are the printer\'s, as numbers' % h, counters)
        check(facts.get('status') == {'code': 0, 'ready': True, 'text': 'ready'},
              'facts on %s: the status' % h, facts.get('status'))
        check(facts.get('model') == 'R-VQ4T1-T' and main_version in facts.get('firmware', {}).get('main', ''),
              'facts on %s: the model and the main firmware %s' % (h, main_version), facts.get('firmware'))
    sums = play.results('Facts as the next task sees them')
    check(all(sums[h]['msg']['head_distance_plus_one'] in (numbers['HEAD DISTANCE'] + 1, str(numbers['HEAD DISTANCE'] + 1))
              for h in ('p1', 'p2')), 'facts: the next task does arithmetic on a counter')
    status = rvqtool_json(env, '--settings', settings, '--lan', hosts['p3'], 'status')
    check(results['p3'].get('status') == 'failed' and results['p3'].get('msg') == status['error']['message'],
          'facts on the printer in error fail with rvqtool\'s message', results['p3'].get('msg'))
    play = ansible.play('facts.yml', require_ready=False)
    facts = play.results('Status, model, firmware and counters')['p3'].get('ansible_facts', {}).get('rvq_printer', {})
    check(facts.get('status', {}).get('code') == ERROR_STATUS and facts['status'].get('ready') is False,
          'facts with require_ready false: the error status as a number', facts.get('status'))


def test_command(ansible, fleet):
    mark = fleet.mark()
    play = ansible.play('command.yml', '--check', target='p1', job='counter_clear', counters='feed')
    result = play.results('The job')['p1']
    check(result.get('changed') is True and fleet.commands(mark) == [],
          'command in check mode: would change, sends nothing', fleet.commands(mark))
    play = ansible.play('command.yml', target='p1', job='head_check')
    result = play.results('The job')['p1']
    check(result.get('changed') is False and result.get('status') == 'ok' and
          any(c.startswith('HD') for p, c in fleet.commands(mark) if p == 0),
          'head check: sent, reports no change', result.get('msg'))
    mark = fleet.mark()
    play = ansible.play('command.yml', target='p2', job='reset')
    result = play.results('The job')['p2']
    check(result.get('changed') is True and ('WR' in [c for p, c in fleet.commands(mark) if p == 1]),
          'reset: sent, reports a change', fleet.commands(mark))
    play = ansible.play('command.yml', target='p3', job='head_check')
    result = play.results('The job')['p3']
    check(result.get('status') == 'failed' and result.get('msg'), 'a job on the printer in error fails',
          result.get('msg'))


def test_firmware(ansible, fleet, folder):
    same = rom_file(os.path.join(folder, 'MAIN-V100.BIN'), 'MAIN', 'V1.00')
    newer = rom_file(os.path.join(folder, 'MAIN-V120.BIN'), 'MAIN', 'V1.20')
    mark = fleet.mark()
    play = ansible.play('firmware.yml', target='p1', roms=[same])
    result = play.results('ROM files')['p1']
    check(result.get('changed') is False and not writes(fleet.commands(mark)),
          'firmware the printer runs already: nothing sent', result)
    mark = fleet.mark()
    play = ansible.play('firmware.yml', '--check', '--diff', target='p1', roms=[newer])
    result = play.results('ROM files')['p1']
    check(result.get('changed') is True and result.get('versions') == {'MAIN': {'before': 'V1.00', 'after': 'V1.20'}}
          and not writes(fleet.commands(mark)), 'firmware in check mode: the versions, nothing sent', result.get('versions'))
    backups = os.path.join(folder, 'backups')
    os.mkdir(backups)
    play = ansible.play('firmware.yml', target='p1', roms=[newer], backup_dir=backups)
    result = play.results('ROM files')['p1']
    check(result.get('changed') is True and result.get('status') == 'ok' and len(os.listdir(backups)) == 1,
          'firmware download with a backup first', result.get('msg') or os.listdir(backups))
    play = ansible.play('firmware.yml', target='p1', roms=[newer])
    check(play.results('ROM files')['p1'].get('changed') is False, 'firmware again: no change')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('build')
    parser.add_argument('--collection', default=DEFAULT_COLLECTION)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    folder = tempfile.mkdtemp(prefix='rvq-ansible-')
    fleet = None

    def stop(signum, frame):
        raise KeyboardInterrupt()
    signal.signal(signal.SIGTERM, stop)
    try:
        env = dict(os.environ)
        env.update(RVQ_LOOPBACK_ONLY='1', RVQ_TIME_SCALE='0.01', XDG_CONFIG_HOME=os.path.join(folder, 'config'),
                   HOME=folder, ANSIBLE_HOME=os.path.join(folder, 'ansible-home'),
                   ANSIBLE_LOCAL_TEMP=os.path.join(folder, 'ansible-tmp'), ANSIBLE_NOCOLOR='1',
                   ANSIBLE_CALLBACK_PLUGINS=os.path.join(HERE, 'callback_plugins'),
                   ANSIBLE_CALLBACKS_ENABLED='result_report', ANSIBLE_RETRY_FILES_ENABLED='0', ANSIBLE_FORKS='5',
                   ANSIBLE_COLLECTIONS_PATH=os.path.join(folder, 'collections'), ANSIBLE_CONFIG=os.path.join(folder, 'ansible.cfg'),
                   PATH=os.path.join(build, 'src', 'cli') + os.pathsep + env.get('PATH', ''))
        env.pop('ANSIBLE_COLLECTIONS_PATHS', None)
        open(env['ANSIBLE_CONFIG'], 'w').close()
        definitions = os.path.join(folder, 'VQTool_Printer.XML')
        shutil.copyfile(os.path.join(SOURCE, 'data', 'VQTool_Printer.XML'), definitions)
        build_collection(os.path.abspath(options.collection), folder, env)
        test_sanity(folder, env)
        fleet = Fleet(os.path.join(build, 'src', 'sim', 'rvq-printer-sim'), definitions, folder, env)
        hosts = dict(zip(['p1', 'p2', 'p3'], fleet.endpoints))
        settings = write_settings(folder, hosts['p1'])
        inventory = os.path.join(folder, 'inventory.ini')
        with open(inventory, 'w') as f:
            f.write('[printers]\n' + ''.join('%s rvq_printer=%s\n' % (h, hosts[h]) for h in sorted(hosts)))
            f.write('[rollout]\np1\np3\np2\n')
            f.write('[all:vars]\nansible_connection=local\nansible_python_interpreter=%s\nrvq_settings=%s\n'
                    % (ansible_python(), settings))
        ansible = Ansible(folder, inventory, env)
        test_params(ansible, fleet, env, settings, hosts)
        test_bad_values(ansible, env, settings)
        test_secret(ansible, fleet, folder)
        test_rollout(ansible, fleet, env, settings, hosts)
        test_facts(ansible, env, settings, hosts)
        test_command(ansible, fleet)
        test_firmware(ansible, fleet, folder)
    finally:
        if fleet:
            fleet.stop()
        if os.environ.get('RVQ_ANSIBLE_KEEP'):
            print('kept %s' % folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)
    print('%s' % ('%d checks failed: %s' % (len(failures), '; '.join(failures)) if failures else 'all checks passed'))
    return 1 if failures else 0


if __name__ == '__main__':
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        print('interrupted; the simulator is stopped and the temporary folder removed')
        sys.exit(130)
