"""Reads the real program's windows as a screen reader does, over AT-SPI:
every showing focusable control and every picture has a name that is not a
layout name, the hidden controls are not in the tree, the champions table
has its column headers, the about window's links take the focus."""
import re
import sys

import pyatspi

from desktop import Failure, Session, find, has, key, main, type_text, wait, walk

LAYOUT_NAME = re.compile(r'^(Label|Edit|Button|BitBtn|Image|GroupBox|Panel|StringGrid|Bevel|'
                         r'ScrollBox|ListBox)\d+$|^ClientArea$')


def check_names(window):
    for node in walk(window):
        if not has(node, pyatspi.STATE_SHOWING):
            continue
        if node.getRoleName() == 'image' or has(node, pyatspi.STATE_FOCUSABLE):
            if not node.name or LAYOUT_NAME.match(node.name):
                raise Failure(f'{window.name}: a {node.getRoleName()} named "{node.name}"')


def focused(window, role, name):
    node = wait(lambda: find(window, role, name), f'no {role} "{name}"')
    wait(lambda: has(node, pyatspi.STATE_FOCUSED), f'"{name}" has no focus')


def screen_reader(program):
    session = Session(program)
    try:
        session.start()
        main_window = session.frame('Formulon', 'frame')
        key('Return')  # in the name box: a game starts
        focused(main_window, 'text', 'Ваш ответ')
        check_names(main_window)
        hidden = [n.name for n in walk(main_window.getChildAtIndex(0))
                  if not has(n, pyatspi.STATE_VISIBLE)]
        if hidden:
            raise Failure(f'hidden controls in the tree: {hidden}')

        type_text('1..5*2')
        key('Return')
        check_names(session.frame('Formulon', 'alert'))
        key('Return')
        key('ctrl+a', 'y', 'Return')
        verdict = session.frame('Информация', 'filler')
        check_names(verdict)
        key('F1')
        check_names(session.frame('Разбор ответа'))
        key('Escape', 'Return')

        focused(main_window, 'text', 'Ваш ответ')
        key('F10', 'Right', 'Return')
        champions = session.frame('Рекорды')
        check_names(champions)
        table = find(champions, 'table', 'Рекорды').queryTable()
        headers = [table.getColumnHeader(c).name for c in range(table.nColumns)]
        if headers != ['№', 'Имя', 'Результат']:
            raise Failure(f'the champions table has the column headers {headers}')
        key('Return')

        focused(main_window, 'text', 'Ваш ответ')
        key('F10', 'Left', 'Return')
        about = session.frame('Информация', 'dialog')
        key('Tab', 'Return', 'Tab')  # "Обратная связь", then its first link
        focused(about, 'link', 'https://formulon.example.org/')
        check_names(about)
        key('Escape')
    finally:
        session.close()


if __name__ == '__main__':
    sys.exit(main({'screen-reader': screen_reader}, sys.argv))
