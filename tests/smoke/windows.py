"""The real program's windows as the keyboard, a window manager and a
screen reader meet them: the keys go back where they were after every
window and box, with and without a window manager. Under openbox: the
_MOTIF_WM_HINTS of each, a verdict window that does not stay minimised, a
task picture no way back redraws, and over AT-SPI a name for every control
and picture and no hidden control. "Разбор ответа" on the screen at a scale
factor of 2. "Тренировка": a task solved there is still marked solved after
a restart, and the champions file stays as it was."""
import os
import re
import subprocess
import sys
import time

import pyatspi

from desktop import (VERDICTS, Failure, Session, extents, find, has, key, main, prop, run,
                     text_of, type_text, wait, walk)

# _MOTIF_WM_HINTS as (flags, functions, decorations): functions 4 move,
# 32 close; decorations 2 border, 8 title, 16 window menu.
NO_BUTTONS = (3, 4, 2 | 8)
CLOSE_ONLY = (3, 4 | 32, 2 | 8 | 16)
RIGHT_ANSWERS = ['-sin(z-y)', 'cos(y*3-5)', 'tan(3+z^2)']  # task 1, variants 1 to 3
LAYOUT_NAME = re.compile(r'^(Label|Edit|Button|BitBtn|Image|GroupBox|Panel|StringGrid|Bevel|'
                         r'ScrollBox|ListBox)\d+$|^ClientArea$')


class Quiz:
    def __init__(self, session, startup_box=False, inspect=lambda window: None):
        self.session, self.hints, self.inspect = session, {}, inspect
        session.start()
        if startup_box:
            session.focused(session.window('Information'))
            key('Return')
        self.main = session.window('Formulon')
        self.tree = session.frame('Formulon', 'frame')

    def start_game(self):
        self.session.focused(self.main)
        key('Return')  # in the name box
        box = wait(lambda: find(self.tree, 'text', 'Ваш ответ'), 'no answer box')
        wait(lambda: has(box, pyatspi.STATE_SHOWING), 'no game started')

    def type_answer(self, text, replace=False):
        """Types into the main window; fails unless the answer box gets it."""
        self.session.focused(self.main)
        box = find(self.tree, 'text', 'Ваш ответ')
        if replace:
            key('ctrl+a', 'BackSpace')
        expected = ('' if replace else text_of(box)) + text
        type_text(text)
        wait(lambda: text_of(box) == expected, f'"{text}" did not reach the answer box')

    def opened(self, title, name):
        window = self.session.window(title, other_than=self.main)
        self.hints[name] = tuple(int(n, 0) for n in prop(window, '_MOTIF_WM_HINTS').split(', ')[:3])
        self.session.focused(window)
        return window

    def check(self, answer):
        """The verdict window and its verdict, ready for Enter: it presses
        "Далее" only 0.3 s after the window appeared."""
        self.type_answer(answer, replace=True)
        key('Return')
        window = self.opened('Информация', 'verdict')
        ready = time.monotonic() + 0.35
        tree = self.session.frame(VERDICTS, 'dialog')
        self.inspect(tree)
        time.sleep(max(0, ready - time.monotonic()))
        return window, tree.name

    def close_with(self, title, name, *keys):
        window = self.opened(title, name)
        self.inspect(self.session.frame(title, 'alert' if title == 'Formulon' else None))
        key(*keys)
        self.session.gone(window)


# Ways from the main window during a game and back to it.
def error_box(quiz):
    quiz.type_answer('1..5*2', replace=True)
    key('Return')
    quiz.close_with('Formulon', 'error box', 'Return')


def champions(quiz):
    key('F10', 'Right', 'Return')
    quiz.close_with('Рекорды', 'champions', 'Return')


def about(quiz):
    key('F10', 'Left', 'Return')
    quiz.close_with('Информация', 'about', 'Escape')


def explanation(quiz):
    key('F1')
    quiz.close_with('Разбор ответа', 'explanation', 'Escape')


def explanation_link(quiz):
    """Tab reaches the link a screen reader names, Enter on it explains."""
    tree = quiz.session.frame(VERDICTS, 'dialog')
    link = wait(lambda: find(tree, 'link', 'Разбор ответа (F1)'), 'no link to "Разбор ответа"')
    key('Tab')
    wait(lambda: has(link, pyatspi.STATE_FOCUSED), 'Tab does not reach the link')
    key('Return')
    quiz.close_with('Разбор ответа', 'explanation', 'Escape')
    key('Tab')


def open_practice(quiz):
    quiz.session.focused(quiz.main)
    key('ctrl+t')
    return quiz.opened('Тренировка', 'practice'), quiz.session.frame('Тренировка')


def practice(quiz):
    """Only before a game: the keys start in its answer box."""
    window, tree = open_practice(quiz)
    box = wait(lambda: find(tree, 'text', 'Ваш ответ'), 'no answer box in "Тренировка"')
    type_text('sin y')
    wait(lambda: text_of(box) == 'sin y', 'the keys did not reach the answer box')
    wait(lambda: find(tree, 'list item', 'Символ 5: аргумент функции пишут в скобках: sin(y)'),
         'no hint while typing')
    quiz.inspect(tree)
    key('Escape')
    quiz.session.gone(window)


def other_program(quiz):
    logo = subprocess.Popen(['xlogo'], stderr=subprocess.DEVNULL)
    try:
        window = wait(lambda: run('xdotool', 'search', '--onlyvisible', '--class', 'xlogo'),
                      'no xlogo window')
        run('xdotool', 'windowactivate', '--sync', window)
        run('xdotool', 'windowactivate', '--sync', quiz.main)
    finally:
        logo.kill()
        logo.wait()


def check_names(window):
    """Every showing focusable control and picture has a name, not a layout one."""
    for node in walk(window):
        if has(node, pyatspi.STATE_SHOWING) and (node.getRoleName() == 'image' or
                                                  has(node, pyatspi.STATE_FOCUSABLE)):
            if not node.name or LAYOUT_NAME.match(node.name):
                raise Failure(f'{window.name}: a {node.getRoleName()} named "{node.name}"')
    if table := find(window, 'table'):
        table = table.queryTable()
        headers = [table.getColumnHeader(c).name for c in range(table.nColumns)]
        if headers != ['№', 'Имя', 'Результат']:
            raise Failure(f'the champions table has the column headers {headers}')


def read_aloud(window):
    if window.getRoleName() == 'dialog' and window.name == 'Информация':  # about
        # "Обратная связь", then past "Закрыть" and the banner to its first link
        key('Tab', 'Return', 'Tab', 'Tab', 'Tab')
        link = wait(lambda: find(window, 'link', 'Сайт программы: https://formulon.example.org/'),
                    'no link')
        wait(lambda: has(link, pyatspi.STATE_FOCUSED), 'Tab does not reach the links')
    check_names(window)


def without_window_manager(program):
    session = Session(program)
    try:
        os.makedirs(session.home + '/share/Formulon')
        with open(session.home + '/share/Formulon/.camp.cam', 'wb') as damaged:
            damaged.write(bytes(100))  # cut short: a box comes before the main window
        quiz = Quiz(session, startup_box=True)
        practice(quiz)
        session.focused(quiz.main)  # with no click, the name box has the keys
        key('ctrl+a')
        type_text('Pupil')
        name = find(quiz.tree, 'text', 'Имя ученика')
        wait(lambda: text_of(name) == 'Pupil', 'the name box did not get the keys')
        quiz.start_game()
        quiz.check('y')
        explanation_link(quiz)
        key('Return')
        for way_back in [error_box, champions, about, explanation]:
            way_back(quiz)
            quiz.type_answer('y')
    finally:
        session.close()


def under_openbox(program):
    session = Session(program, window_manager=True)
    try:
        quiz = Quiz(session, inspect=read_aloud)
        _, functions, decorations = (int(n, 0) for n in
                                     prop(quiz.main, '_MOTIF_WM_HINTS').split(', ')[:3])
        if functions & 56 != 56 or decorations & 96 != 96:
            raise Failure('the main window lost its minimise, maximise or close button')
        practice(quiz)
        quiz.start_game()
        check_names(quiz.tree)
        hidden = [node.name for node in walk(quiz.tree.getChildAtIndex(0))
                  if not has(node, pyatspi.STATE_VISIBLE)]
        if hidden:
            raise Failure(f'hidden controls in the tree: {hidden}')
        for answer in RIGHT_ANSWERS:
            verdict, text = quiz.check(answer)
            if answer == RIGHT_ANSWERS[0]:
                run('xdotool', 'windowminimize', verdict)
                session.focused(verdict)  # back at once: the main window is hidden
            key('Return')
            if text == 'Ответ правильный.':
                break
        picture = wait(lambda: find(quiz.tree, 'image', 'Задание № 2, картинка формулы'),
                       'no right answer reached task 2')
        shown = session.screenshot(*extents(picture))
        for way_back in [error_box, champions, about, explanation, other_program]:
            way_back(quiz)
            quiz.type_answer('y')
            if session.screenshot(*extents(picture)) != shown:
                raise Failure(f'the task picture changed after the {way_back.__name__}')
        expected = {'practice': CLOSE_ONLY, 'verdict': NO_BUTTONS, 'error box': CLOSE_ONLY,
                    'champions': CLOSE_ONLY, 'about': CLOSE_ONLY, 'explanation': CLOSE_ONLY}
        if quiz.hints != expected:
            raise Failure(f'_MOTIF_WM_HINTS {quiz.hints}, expected {expected}')
    finally:
        session.close()


def explanation_at_scale_factor_2(program):
    session = Session(program, '1920x1080', window_manager=True, env={'QT_SCALE_FACTOR': '2'})
    try:
        quiz = Quiz(session)
        quiz.start_game()
        verdict, _ = quiz.check('y')
        key('F1')
        window = quiz.opened('Разбор ответа', 'explanation')

        def placed():  # on the screen, centred on the verdict window
            x, y, width, height = session.frame_rect(window)
            opener_x, _, opener_width, _ = session.frame_rect(verdict)
            return (min(x, y) >= 0 and x + width <= 1920 and y + height <= 1080 and
                    abs(2 * x + width - 2 * opener_x - opener_width) <= 4)
        wait(placed, f'"Разбор ответа" at {session.frame_rect(window)}')
        dialog = session.frame('Разбор ответа')
        x, y, width, height = extents(dialog)
        bx, by, bwidth, bheight = extents(find(dialog, 'push button', 'Закрыть'))
        if not (x <= bx and bx + bwidth <= x + width and y <= by and by + bheight <= y + height):
            raise Failure('"Закрыть" lies outside the window')
        if not any(node.getRoleName() == 'scroll bar' and has(node, pyatspi.STATE_SHOWING)
                   for node in walk(dialog)):
            raise Failure('what does not fit does not scroll')
    finally:
        session.close()


def inside(inner, outer):
    (ix, iy, iw, ih), (x, y, w, h) = inner, outer
    return x <= ix and y <= iy and ix + iw <= x + w and iy + ih <= y + h


def scrolls(top):
    return any(n.getRoleName() == 'scroll bar' and has(n, pyatspi.STATE_SHOWING) for n in walk(top))


def champions_at_scale_factor_2(program):
    """1280 x 1024 at a scale factor of 2 leaves 640 x 512: the main window
    fits as it is, the champions window scrolls within the screen, and Tab
    brings "Закрыть" into view."""
    session = Session(program, '1280x1024', window_manager=True, env={'QT_SCALE_FACTOR': '2'})
    try:
        if scrolls(Quiz(session).tree):
            raise Failure('the main window scrolls though it fits')
        key('F10', 'Right', 'Return')
        window = session.window('Рекорды')
        wait(lambda: inside(session.frame_rect(window), (0, 0, 1280, 1024)), '"Рекорды" is off')
        dialog = session.frame('Рекорды')
        wait(lambda: scrolls(dialog), 'what does not fit does not scroll')
        close = find(dialog, 'push button', 'Закрыть')
        key('Tab', 'Tab')
        wait(lambda: has(close, pyatspi.STATE_FOCUSED) and inside(extents(close), extents(dialog)),
             'Tab does not bring "Закрыть" into view')
    finally:
        session.close()


def practice_after_restart(program):
    """A task solved in practice, then the program killed: the next run
    marks it solved and opens on the next one; the champions file (an empty
    table) is never touched."""
    session = Session(program)
    try:
        os.makedirs(session.home + '/share/Formulon')
        champions = session.home + '/share/Formulon/.camp.cam'
        with open(champions, 'wb') as table:
            table.write(bytes(8192 + 256) + b'\x010' + bytes(254))
        def stamp():  # read at start, never written
            info = os.stat(champions)
            return info.st_ino, info.st_size, info.st_mtime_ns, info.st_ctime_ns
        before = stamp()
        for solve in (True, False):
            _, tree = open_practice(Quiz(session))
            if solve:
                type_text(RIGHT_ANSWERS[0])
                key('Return')
                wait(lambda: find(tree, 'label', 'Верно! Задание решено.'), 'not solved')
                session.app.kill()
                session.app.wait()
        wait(lambda: find(tree, 'list item', 'Задание 1, вариант 1, решено'),
             'the solved task is no longer marked')
        wait(lambda: find(tree, 'label', 'Задание № 1, вариант 2: не решено'),
             'it did not open on the next unsolved task')
        if stamp() != before:
            raise Failure('practice touched the champions file')
    finally:
        session.close()


if __name__ == '__main__':
    sys.exit(main({'without-window-manager': without_window_manager,
                   'under-openbox': under_openbox,
                   'explanation-at-scale-factor-2': explanation_at_scale_factor_2,
                   'champions-at-scale-factor-2': champions_at_scale_factor_2,
                   'practice-after-restart': practice_after_restart}))
