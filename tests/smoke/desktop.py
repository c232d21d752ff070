"""The real program on Xvfb for the Python tests, run by over-atspi.sh:
openbox when asked for, the program in a home of its own with its
accessibility tree on AT-SPI, xdotool and xprop."""
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi


# The verdict window is a dialog named by its verdict.
VERDICTS = ('Ответ правильный.', 'Ответ не верный. Стоит подумать', 'Превосходно!!! Вы победили')


class Failure(Exception):
    pass


def wait(condition, what, seconds=15):
    deadline = time.monotonic() + seconds
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise Failure(what)
        time.sleep(0.05)
    return value


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.strip()


def key(*keys):
    run('xdotool', 'key', '--delay', '30', *keys)


def type_text(text):
    run('xdotool', 'type', '--delay', '30', '--', text)


def walk(node):
    yield node
    for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
        if child is not None:
            yield from walk(child)


def has(node, state):
    return node.getState().contains(state)


def find(root, role, name=None):
    return next((n for n in walk(root) if n.getRoleName() == role and name in (None, n.name)),
                None)


def text_of(node):
    return node.queryText().getText(0, -1)


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def prop(window, name):
    return run('xprop', '-id', window, name).partition(' = ')[2]


class Session:
    def __init__(self, program, size='1024x768', window_manager=False, env=None):
        self.program, self.env, self.processes = program, env or {}, []
        self.home = tempfile.mkdtemp(prefix='formulon-')
        self.width = int(size.split('x')[0])
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ['Xvfb', '-displayfd', str(write), '-screen', '0', size + 'x24', '-nolisten', 'tcp',
             '-noreset'],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write)
        # The number and a line feed, read whole: Xvfb dies writing to a
        # pipe closed early.
        number = b''
        while not number.endswith(b'\n'):
            if not select.select([read], [], [], 10)[0]:
                raise Failure('Xvfb did not start')
            number += os.read(read, 16)
        os.close(read)
        os.environ['DISPLAY'] = ':' + number.decode().strip()
        if window_manager:
            self.processes.append(subprocess.Popen(['openbox', '--sm-disable'],
                                                   stderr=subprocess.DEVNULL))
            wait(lambda: 'window id' in run('xprop', '-root', '_NET_SUPPORTING_WM_CHECK'),
                 'openbox did not start')

    def start(self):
        env = dict(os.environ, HOME=self.home, XDG_DATA_HOME=self.home + '/share',
                   QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', **self.env)
        self.app = subprocess.Popen([self.program], env=env)
        self.processes.append(self.app)

    def close(self):
        for process in reversed(self.processes):
            process.kill()
            process.wait()
        shutil.rmtree(self.home, ignore_errors=True)

    def window(self, title, other_than=None):
        """The id of the program's visible window with that title."""
        def found():
            if self.app.poll() is not None:
                raise Failure('the program ended')
            ids = run('xdotool', 'search', '--onlyvisible', '--pid', str(self.app.pid)).split()
            return next((i for i in ids if i != other_than and self.title(i) == title), None)
        return wait(found, f'no window "{title}"')

    @staticmethod
    def title(window):
        return prop(window, '_NET_WM_NAME').strip('"')

    def focused(self, window):
        wait(lambda: run('xdotool', 'getwindowfocus') == window,
             f'the window "{self.title(window)}" has no focus')

    @staticmethod
    def gone(window):
        wait(lambda: 'IsViewable' not in run('xwininfo', '-id', window), 'a window stayed')

    @staticmethod
    def frame_rect(window):
        """Left, top, width and height with the window manager's frame."""
        at = dict(line.split('=') for line in
                  run('xdotool', 'getwindowgeometry', '--shell', window).split())
        extents = prop(window, '_NET_FRAME_EXTENTS')
        left, right, top, bottom = (int(n) for n in extents.split(', ')) if extents else [0] * 4
        return (int(at['X']) - left, int(at['Y']) - top, int(at['WIDTH']) + left + right,
                int(at['HEIGHT']) + top + bottom)

    def screenshot(self, x, y, width, height):
        rgb = subprocess.run(['import', '-window', 'root', '-depth', '8', 'rgb:-'],
                             capture_output=True).stdout
        row = self.width * 3
        return b''.join(rgb[r * row + x * 3:r * row + (x + width) * 3] for r in range(y, y + height))

    def frame(self, title, role=None):
        """The program's showing top-level accessible with that name, or one
        of those names (and role)."""
        names = title if isinstance(title, tuple) else (title,)
        def found():
            desktop = pyatspi.Registry.getDesktop(0)
            apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
            app = next((a for a in apps if a is not None and a.name == 'Formulon'), None)
            windows = (app.getChildAtIndex(i) for i in range(app.childCount)) if app else ()
            return next((w for w in windows if w.name in names and role in (None, w.getRoleName())
                         and has(w, pyatspi.STATE_SHOWING)), None)
        return wait(found, f'no accessible window "{title}"')


def main(phases):
    """Runs the phase named first with the program named second."""
    phase, program = sys.argv[1:3]
    try:
        phases[phase](program)
    except Failure as failure:
        print(f'{phase}: {failure}')
        return 1
    print(f'{phase}: passed')
    return 0
