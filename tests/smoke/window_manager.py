"""The real program's windows as a window manager and the keyboard meet
them: the keyboard back where it was after every window and box, with and
without a window manager; under openbox each window's title-bar buttons as
_MOTIF_WM_HINTS give them, a verdict window that does not stay minimised,
and a task picture that no way back to it redraws; "Разбор ответа" on the
screen at a scale factor of 2."""
import os
import subprocess
import sys

import pyatspi

from desktop import Failure, Session, find, has, key, main, run, text_of, type_text, wait

# _MOTIF_WM_HINTS as (flags, functions, decorations).
NO_BUTTONS = (3, 4, 2 | 8)  # moved; a border and a title
CLOSE_ONLY = (3, 4 | 32, 2 | 8 | 16)  # moved and closed; the window menu too
RIGHT_ANSWERS = ['-sin(z-y)', 'cos(y*3-5)', 'tan(3+z^2)']  # task 1, variants 1 to 3


class Quiz:
    """The running program, its main window and what it has shown."""

    def __init__(self, session):
        self.session = session
        self.main = session.window('Formulon')
        self.tree = session.frame('Formulon', 'frame')
        self.hints = {}  # window -> its hints, as it was shown

    def opened(self, title, name):
        window = self.session.window(title, other_than=self.main)
        self.hints[name] = self.session.motif_hints(window)
        return window

    def answer_box(self):
        return wait(lambda: find(self.tree, 'text', 'Ваш ответ'), 'no answer box')

    def start_game(self):
        self.session.focused(self.main)
        key('Return')  # in the name box
        wait(lambda: has(self.answer_box(), pyatspi.STATE_SHOWING), 'no game started')

    def typed_into_answer(self, text, replace=False):
        """Keys typed now reach the answer box."""
        self.session.focused(self.main)
        box = self.answer_box()
        if replace:
            key('ctrl+a', 'BackSpace')
        expected = ('' if replace else text_of(box)) + text
        type_text(text)
        wait(lambda: text_of(box) == expected, f'"{text}" did not reach the answer box')

    def check(self, answer):
        """The verdict window's id and verdict."""
        self.typed_into_answer(answer, replace=True)
        key('Return')
        window = self.opened('Информация', 'verdict')
        self.session.focused(window)
        verdict = self.session.frame('Информация', 'filler').getChildAtIndex(2).name
        return window, verdict

    def close_with(self, title, name, *keys):
        window = self.opened(title, name)
        self.session.focused(window)
        key(*keys)
        self.session.gone(window)


# Ways away from the main window during a game and back to it.
def error_box(quiz):
    quiz.typed_into_answer('1..5*2', replace=True)
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


WAYS_BACK = [error_box, champions, about, explanation]


def without_window_manager(program):
    session = Session(program)
    try:
        os.makedirs(session.home + '/share/Formulon')
        with open(session.home + '/share/Formulon/.camp.cam', 'wb') as damaged:
            damaged.write(bytes(100))  # cut short: a box before the main window
        session.start()
        session.focused(session.window('Information'))
        key('Return')
        quiz = Quiz(session)
        session.focused(quiz.main)  # with no click the name box has the keys
        key('ctrl+a')
        type_text('Pupil')
        name = find(quiz.tree, 'text', 'Имя ученика')
        wait(lambda: text_of(name) == 'Pupil', 'the name box did not get the keys')
        quiz.start_game()
        quiz.check('y')
        key('Return')
        for way_back in WAYS_BACK:
            way_back(quiz)
            quiz.typed_into_answer('y')
    finally:
        session.close()


def under_openbox(program):
    session = Session(program, window_manager=True)
    try:
        session.start()
        quiz = Quiz(session)
        flags, functions, decorations = session.motif_hints(quiz.main)
        if functions & (8 | 16 | 32) != 8 | 16 | 32 or decorations & (32 | 64) != 32 | 64:
            raise Failure('the main window lost its minimise, maximise or close button')
        quiz.start_game()
        for answer in RIGHT_ANSWERS:
            verdict, text = quiz.check(answer)
            if answer == RIGHT_ANSWERS[0]:
                run('xdotool', 'windowminimize', verdict)
                session.focused(verdict)  # back at once, the main window still hidden
            key('Return')
            if text == 'Ответ правильный.':
                break
        picture = wait(lambda: find(quiz.tree, 'image', 'Задание № 2, картинка формулы'),
                       'no right answer reached task 2')
        area = picture.queryComponent().getExtents(0)
        shown = session.screenshot(area.x, area.y, area.width, area.height)
        for way_back in WAYS_BACK + [other_program]:
            way_back(quiz)
            quiz.typed_into_answer('y')
            if session.screenshot(area.x, area.y, area.width, area.height) != shown:
                raise Failure(f'the task picture changed after the {way_back.__name__}')
        expected = {'verdict': NO_BUTTONS, 'error box': CLOSE_ONLY, 'champions': CLOSE_ONLY,
                    'about': CLOSE_ONLY, 'explanation': CLOSE_ONLY}
        if quiz.hints != expected:
            raise Failure(f'_MOTIF_WM_HINTS {quiz.hints}, expected {expected}')
    finally:
        session.close()


def explanation_at_scale_factor_2(program):
    session = Session(program, size='1920x1080', window_manager=True,
                      env={'QT_SCALE_FACTOR': '2'})
    try:
        session.start()
        quiz = Quiz(session)
        quiz.start_game()
        verdict, _ = quiz.check('y')
        key('F1')
        window = quiz.opened('Разбор ответа', 'explanation')

        def placed():
            x, y, width, height = session.frame_rect(window)
            vx, _, vwidth, _ = session.frame_rect(verdict)
            return (x >= 0 and y >= 0 and x + width <= 1920 and y + height <= 1080 and
                    abs(2 * x + width - 2 * vx - vwidth) <= 4)
        wait(placed, f'not on the screen and centred: {session.frame_rect(window)}')
        dialog = session.frame('Разбор ответа')
        inner = dialog.queryComponent().getExtents(0)
        close = find(dialog, 'push button', 'Закрыть').queryComponent().getExtents(0)
        if not (inner.x <= close.x and close.x + close.width <= inner.x + inner.width and
                inner.y <= close.y and close.y + close.height <= inner.y + inner.height):
            raise Failure('"Закрыть" lies outside the window')
    finally:
        session.close()


if __name__ == '__main__':
    sys.exit(main({'without-window-manager': without_window_manager,
                   'under-openbox': under_openbox,
                   'explanation-at-scale-factor-2': explanation_at_scale_factor_2}, sys.argv))
