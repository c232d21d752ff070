#!/usr/bin/env python3
"""The class report as a browser reads it, parsed, never looked at: nothing
that runs or fetches, the grid, the tasks with their bars and slips, the
pupils with their wrong answers, in the locale's language.
Usage: check-class-report.py FORMULON_EVAL"""
import base64
import os
import subprocess
import sys
import tempfile
from html.parser import HTMLParser

CLASS = """Ученик;Задание;Ответ
Оля;1.1;sin(y-z)
Оля;2.1;y^2+ln(z^2+4)
<b>Петя</b>;1.1;tg(y-z)
<b>Петя</b>;1.1;sin(y-z)
Вася;1.1;tg(y+z)
Вася;1.1;2y
Вася;2.1;
Вася;9.9;y
"""
GRID = [["Ученик", "1.1", "2.1"],
        ["Оля", "right ✓1", "wrong ✗1"],
        ["<b>Петя</b>", "right ✓2", "none "],
        ["Вася", "wrong ✗2", "none "]]
TASKS = [["Задание 1.1", "40%", "tg (ответов: 2) — тангенс пишут tan: tan(y-z)",
          "2y, 2(, )(, yz (ответов: 1) — пропущен знак умножения: 2*y"],
         ["Задание 2.1", "0%", "ln (ответов: 1) — натуральный логарифм пишут log: log(z^2+4)"]]
PUPILS = [["Оля", "2.1 | y^2+ln(z^2+4) | неверно | натуральный логарифм пишут log: log(z^2+4)"],
          ["<b>Петя</b>", "1.1 | tg(y-z) | неверно | тангенс пишут tan: tan(y-z)"],
          ["Вася", "1.1 | tg(y+z) | неверно | тангенс пишут tan: tan(y+z)",
           "1.1 | 2y | неверно | пропущен знак умножения: 2*y"]]
VOID = {"meta", "img", "br", "link", "hr", "input"}


class Node:
    def __init__(self, tag, attrs):
        self.tag, self.attrs, self.children = tag, dict(attrs), []

    def text(self):
        return "".join(c if isinstance(c, str) else c.text() for c in self.children)

    def all(self, tag, cls=None):
        for child in self.children:
            if isinstance(child, Node):
                if child.tag == tag and (cls is None or child.attrs.get("class") == cls):
                    yield child
                yield from child.all(tag, cls)


class Tree(HTMLParser):
    def __init__(self):
        super().__init__()
        self.root = Node("#root", [])
        self.stack = [self.root]
        self.tags = []

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs)
        self.tags.append(node)
        self.stack[-1].children.append(node)
        if tag not in VOID:
            self.stack.append(node)

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if self.stack[-1].tag != tag:
            raise AssertionError(f"</{tag}> closes <{self.stack[-1].tag}>")
        self.stack.pop()

    def handle_data(self, data):
        self.stack[-1].children.append(data)


def report(evaluator, locale):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "report.html")
        env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "LC_MESSAGES", "LANG")}
        env.update(locale)
        run = subprocess.run([evaluator, "--class", "--html", path], input=CLASS.encode(),
                             env=env, capture_output=True, check=False)
        assert run.returncode == 1, run
        tree = Tree()
        with open(path, encoding="utf-8") as page:
            tree.feed(page.read())
        tree.close()
        assert tree.stack == [tree.root], "elements left open"
        return tree


def check_whole_by_itself(tree):
    for node in tree.tags:
        assert node.tag not in ("script", "iframe", "object", "embed", "link", "base"), node.tag
        for name, value in node.attrs.items():
            assert not name.startswith("on"), name
            if name in ("src", "href"):
                assert value.startswith("data:"), value
    style = next(tree.root.all("style")).text()
    assert "@page" in style and "A4" in style, style


def cells(row):
    return [c.text() if c.tag == "th" else f"{c.attrs['class']} {c.text()}"
            for c in row.children if isinstance(c, Node)]


def check_russian(tree):
    html = next(tree.root.all("html"))
    assert html.attrs["lang"] == "ru"
    assert next(tree.root.all("title")).text() == "Проверка ответов класса"
    grid = next(tree.root.all("table", "grid"))
    assert [cells(row) for row in grid.all("tr")] == GRID, [cells(r) for r in grid.all("tr")]
    tasks = []
    for task in tree.root.all("div", "task"):
        picture = next(task.all("img"))
        svg = base64.b64decode(picture.attrs["src"].split(",", 1)[1])
        alt = picture.attrs["alt"]
        assert svg.startswith(b"<svg") and ("синус" in alt or "логарифм" in alt), alt
        bar = next(task.all("span", "bar")).children[0].attrs["style"]
        tasks.append([next(task.all("h3")).text(), bar.split()[-1]] +
                     [li.text() for li in task.all("li")])
    assert tasks == TASKS, tasks
    pupils = []
    for pupil in tree.root.all("div", "pupil"):
        rows = [" | ".join(c.text() for c in tr.children if isinstance(c, Node))
                for tr in next(pupil.all("tbody")).all("tr")]
        pupils.append([next(pupil.all("h3")).text()] + rows)
    assert pupils == PUPILS, pupils


def main():
    evaluator = sys.argv[1]
    russian = report(evaluator, {"LANG": "ru_RU.UTF-8"})
    check_whole_by_itself(russian)
    check_russian(russian)
    english = report(evaluator, {"LC_ALL": "C"})
    assert next(english.root.all("html")).attrs["lang"] == "en"
    assert next(english.root.all("title")).text() == "Class answers marked"
    print("the class report is whole by itself and says what the class did")


if __name__ == "__main__":
    main()
