"""The real program on an X server, for the tests written in Python: Xvfb,
openbox when asked for, the program in a home of its own with accessibility
on, xdotool and xprop, and the program's tree as a screen reader reads it
over AT-SPI. Run under dbus-run-session, which gives the AT-SPI bus."""
import os
import select
import shutil
import subprocess
import tempfile
import time

import pyatspi


class Failure(Exception):
    pass


def wait(condition, what, seconds=15):
    """Polls until condition() gives something true, and returns it."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(what)
        time.sleep(0.05)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.strip()


def key(*keys):
    run('xdotool', 'key', '--delay', '30', *keys)


def type_text(text):
    run('xdotool', 'type', '--delay', '30', '--', text)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def has(node, state):
    return node.getState().contains(state)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
    return None


def text_of(node):
    return node.queryText().getText(0, -1)


class Session:
    def __init__(self, program, size='1024x768', window_manager=False, env=None):
        self.home = tempfile.mkdtemp(prefix='formulon-')
        self.processes = []
        self.size = tuple(int(n) for n in size.split('x'))
        self._start_xvfb(size)
        if window_manager:
            self.processes.append(subprocess.Popen(['openbox', '--sm-disable'],
                                                   stdout=subprocess.DEVNULL,
                                                   stderr=subprocess.DEVNULL))
            wait(lambda: 'window id' in run('xprop', '-root', '_NET_SUPPORTING_WM_CHECK'),
                 'openbox did not start')
        self.program, self.env = program, env or {}

    def _start_xvfb(self, size):
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ['Xvfb', '-displayfd', str(write), '-screen', '0', size + 'x24', '-nolisten', 'tcp'],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write)
        # The display's number, then a line feed: all of it is read, since
        # Xvfb dies of a pipe closed before it has written.
        number = b''
        while not number.endswith(b'\n'):
            if not select.select([read], [], [], 10)[0]:
                raise Failure('Xvfb did not start')
            number += os.read(read, 16)
        os.close(read)
        os.environ['DISPLAY'] = ':' + number.decode().strip()

    def start(self):
        env = dict(os.environ, HOME=self.home, XDG_DATA_HOME=self.home + '/share',
                   QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', **self.env)
        self.app_process = subprocess.Popen([self.program], env=env)
        self.processes.append(self.app_process)

    def close(self):
        for process in reversed(self.processes):
            process.kill()
            process.wait()
        shutil.rmtree(self.home, ignore_errors=True)

    # The program's windows as the X server and the window manager see them.
    def window(self, title, other_than=None):
        """The id of the program's visible window with that title."""
        def found():
            if self.app_process.poll() is not None:
                raise Failure('the program ended')
            ids = run('xdotool', 'search', '--onlyvisible', '--pid', str(self.app_process.pid))
            return next((i for i in ids.split() if i != other_than and self.title(i) == title),
                        None)
        return wait(found, f'no window "{title}"')

    @staticmethod
    def title(window):
        line = run('xprop', '-id', window, '_NET_WM_NAME')
        return line.partition(' = ')[2].strip('"')

    @staticmethod
    def gone(window):
        wait(lambda: 'IsViewable' not in run('xwininfo', '-id', window), 'a window stayed')

    def focused(self, window):
        wait(lambda: run('xdotool', 'getwindowfocus') == window,
             f'the window "{self.title(window)}" has no focus')

    @staticmethod
    def frame_rect(window):
        """Left, top, width and height of the window with its frame."""
        shell = dict(line.split('=') for line in
                     run('xdotool', 'getwindowgeometry', '--shell', window).split())
        line = run('xprop', '-id', window, '_NET_FRAME_EXTENTS').partition(' = ')[2]
        left, right, top, bottom = (int(n) for n in line.split(', ')) if line else (0, 0, 0, 0)
        return (int(shell['X']) - left, int(shell['Y']) - top,
                int(shell['WIDTH']) + left + right, int(shell['HEIGHT']) + top + bottom)

    @staticmethod
    def motif_hints(window):
        """Flags, functions and decorations of _MOTIF_WM_HINTS."""
        line = run('xprop', '-id', window, '_MOTIF_WM_HINTS')
        return tuple(int(n, 0) for n in line.partition(' = ')[2].split(', ')[:3])

    def screenshot(self, x, y, width, height):
        rgb = subprocess.run(['import', '-window', 'root', '-depth', '8', 'rgb:-'],
                             capture_output=True).stdout
        stride = self.size[0] * 3
        return b''.join(rgb[row * stride + x * 3:row * stride + (x + width) * 3]
                        for row in range(y, y + height))

    # The program's tree over AT-SPI.
    def frame(self, title, role=None):
        """The program's showing top-level accessible with that name (and role)."""
        def found():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
                if app is not None and app.name == 'Formulon':
                    for window in (app.getChildAtIndex(i) for i in range(app.childCount)):
                        if (window.name == title and has(window, pyatspi.STATE_SHOWING) and
                                role in (None, window.getRoleName())):
                            return window
            return None
        return wait(found, f'no accessible window "{title}"')


def main(phases, argv):
    """Runs the phase named in argv[1] with the program argv[2]."""
    phase = phases[argv[1]]
    try:
        phase(argv[2])
    except Failure as failure:
        print(f'{argv[1]}: {failure}')
        return 1
    print(f'{argv[1]}: passed')
    return 0
