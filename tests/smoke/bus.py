"""Nothing of a check's values on the accessibility bus: a whole game played
over AT-SPI while a listener hears every event. After each check every
object that ever sent an event, and every object of the windows' trees, is
asked its name, description and text; no value text of any check (the
task's or the answer's) may be in any of them or in any event. Each task's
picture and answer box describe the task in words. Every result is said:
each verdict opens a dialog named by it, and practice's outcomes are said
to the control with the keys."""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from desktop import VERDICTS, Failure, Session, find, has, key, main, text_of, walk
import desktop
EXTRA_WRONG = 'y/3+sin(y)*1000'  # a value of no task


def pump():
    """Delivers the events the listener has been sent."""
    while GLib.MainContext.default().iteration(False):
        pass


def wait(condition, what, seconds=15):
    def pumped():
        pump()
        return condition()
    return desktop.wait(pumped, what, seconds)


def evaluate(evaluator, *args, stdin=''):
    return subprocess.run([evaluator, *args], input=stdin, capture_output=True, text=True,
                          check=False).stdout.splitlines()


def tasks_and_values(evaluator):
    """The reference formulas by task, and the value texts worth looking for:
    numbers of several digits, which no label of the windows holds by chance."""
    references, values = {}, set()
    for line in evaluate(evaluator, '--tasks'):
        task, _, formula, value = line.split('\t')
        references.setdefault(int(task), []).append(formula)
        values.add(value)
    values.add(evaluate(evaluator, stdin=EXTRA_WRONG + '\n')[0].split('\t')[1])
    values = {v for v in values if re.fullmatch(r'-?[0-9][0-9,E-]{5,}', v)}
    if len(values) < 25:
        raise Failure(f'only {len(values)} value texts to look for')
    return references, values


def said(node):
    """Everything the object answers when asked: name, description, text."""
    try:
        words = [node.name or '', node.description or '']
    except Exception:  # gone meanwhile
        return []
    try:
        words.append(text_of(node))
    except NotImplementedError:
        pass
    return words


class Listener:
    def __init__(self):
        self.heard, self.sources, self.events = [], set(), []
        pyatspi.Registry.registerEventListener(self.hear, 'object', 'window', 'focus')

    def hear(self, event):
        """The event, and what its object says as a reader asks it then."""
        words = [str(event.type), str(event.any_data)]
        if event.source is not None:
            self.sources.add(event.source)
            words += said(event.source)
            self.events.append((str(event.type), event.any_data, *said(event.source)))
        self.heard.append(' '.join(words))

    def said_as(self, kind, name=None, text=None, description=None):
        """Whether an object of that name (description) sent that event (text first)."""
        pump()
        return any(event[0].startswith(kind) and name in (None, event[2]) and
                   str(event[1]).startswith(text or '') and description in (None, event[3])
                   for event in self.events)

    def leaks(self, values, trees):
        pump()
        texts = self.heard + [w for s in self.sources for w in said(s)]
        texts += [w for tree in trees for node in walk(tree) for w in said(node)]
        return sorted({v for v in values for text in texts if v in text})


def whole_game(program, evaluator):
    references, values = tasks_and_values(evaluator)
    session = Session(program)
    listener = Listener()
    try:
        session.start()
        main_window = session.window('Formulon')
        tree = session.frame('Formulon', 'frame')
        session.focused(main_window)
        key('Return')  # the name box's "Ученик" starts a game
        box = wait(lambda: find(tree, 'text', 'Ваш ответ'), 'no answer box')
        wait(lambda: listener.said_as('object:state-changed:visible', 'Задание № 1'),
             'the task box never said it is visible')
        wait(lambda: find(tree, 'label', 'Лучшее время: рекордов нет'),
             'the empty best time is not named for what it is')
        checks = 0
        for task in range(1, 11):
            picture = wait(lambda: find(tree, 'image', f'Задание № {task}, картинка формулы'),
                           f'no picture of task {task}')
            spoken = picture.description
            if not spoken or re.search(r'[0-9a-zA-Z^*/]', spoken) or box.description != spoken:
                raise Failure(f'task {task} is spoken as "{spoken}", its box "{box.description}"')
            for answer in ([EXTRA_WRONG] if task == 1 else []) + references[task]:
                box.queryEditableText().setTextContents(answer)
                wait(lambda: text_of(box) == answer, f'"{answer}" did not reach the answer box')
                session.focused(main_window)
                key('Return')
                verdict_window = session.window('Информация', other_than=main_window)
                ready = time.monotonic() + 0.35  # Enter presses "Далее" only 0.3 s after it
                session.focused(verdict_window)
                verdict = session.frame(VERDICTS, 'dialog')
                said_verdict = wait(lambda: next((v for node in walk(verdict) for v in VERDICTS
                                                  if v in said(node)), None), 'no verdict')
                wait(lambda: listener.said_as('window:activate', said_verdict,
                                              description=verdict.description)
                     and verdict.description, f'"{said_verdict}" opened unsaid')
                checks += 1
                if leaks := listener.leaks(values, [tree, verdict]):
                    raise Failure(f'on the bus after check {checks}: {leaks}')
                time.sleep(max(0, ready - time.monotonic()))
                key('Return')
                session.gone(verdict_window)
                if said_verdict != VERDICTS[1]:
                    break
            else:
                raise Failure(f'no reference formula of task {task} was right')
        if said_verdict != VERDICTS[2]:
            raise Failure(f'the game ended with "{said_verdict}"')
        session.focused(session.window('Formulon'))
        if leaks := listener.leaks(values, [tree]):
            raise Failure(f'on the bus after the game: {leaks}')
        if not any('description' in heard and spoken in heard for heard in listener.heard):
            raise Failure('the listener never heard a task described')
        practice(session, listener, references[1][0])
    finally:
        session.close()


def practice(session, listener, right):
    """Task 1.1 in "Тренировка": three different wrong answers, the sample,
    then the right answer; each result said to the control with the keys."""
    key('ctrl+t')
    session.focused(session.window('Тренировка'))
    tree = session.frame('Тренировка')
    box = wait(lambda: find(tree, 'text', 'Ваш ответ'), 'no answer box in "Тренировка"')

    def check(answer, said, name='Ваш ответ'):
        box.queryComponent().grabFocus()
        wait(lambda: has(box, pyatspi.STATE_FOCUSED), 'the answer box has not the keys')
        box.queryEditableText().setTextContents(answer)
        wait(lambda: text_of(box) == answer, f'"{answer}" did not reach the answer box')
        key('Return')
        wait(lambda: listener.said_as('object:property-change:accessible-description', name,
                                      said), f'"{said}" was never said after "{answer}"')

    check('y', 'Неверно. Неверных проверок: 1.')
    check('z', 'Неверно. Неверных проверок: 2.')
    check('y+z', 'Неверно. Неверных проверок: 3. Можно посмотреть образец')
    sample = find(tree, 'push button', 'Показать образец')
    sample.queryAction().doAction(0)
    wait(lambda: listener.said_as('focus', f'Образец: {right}'), 'the sample was not said')
    check(right, 'Верно! Задание решено.', 'Следующее нерешённое')


if __name__ == '__main__':
    sys.exit(main({'whole-game': lambda program: whole_game(program, sys.argv[3])}))
