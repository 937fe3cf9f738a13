#!/usr/bin/env python3
"""A typed question answered by the stand-in, as the running development program paints it under
Wine: the option badge and the answer card appear, and math in the answer is drawn as math (its
fraction rules are found on screen), which the same text without its dollars is not."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

# An inline fraction and a display run of another; no "+", "=" or "-" whose bars could pass for a rule.
MATH_ANSWER = r"Half is $\frac{1}{2}$ of one, as $$\frac{3}{6}$$ shows."
PLAIN_ANSWER = MATH_ANSWER.replace("$", "")
EXPLANATION = "Two equal parts make one whole."

PANEL_W, PANEL_H = 388, 486
BADGE = (PANEL_W - 22 - 74, 186, 62, 20)
ANSWER_BODY = (34, 212, PANEL_W - 68, 77)             # with the explanation shown
TALL_ANSWER_BODY = (34, 212, PANEL_W - 68, 486 - 45 - 194 - 39 - 41)  # with it collapsed
EXPLANATION_HEADER = (194, 315)                       # its header when shown
BODY_CENTRE = 34 + (PANEL_W - 68) / 2


def reply_body(answer):
    content = json.dumps({"answer": answer, "explanation": EXPLANATION, "option": "C"})
    return json.dumps({"choices": [{"message": {"content": content}}]})


class Shot:
    """The panel's pixels in one screenshot of the X screen, as (r, g, b) tuples."""

    def __init__(self, name, geometry):
        path = e2e.screenshot(name)
        left, top, width, height = geometry
        raw = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                              "+repage", "-depth", "8", "rgb:-"],
                             capture_output=True, timeout=60, check=True).stdout
        e2e.check(len(raw) == width * height * 3, "cropped %d bytes" % len(raw))
        self.width, self.height, self.raw = width, height, raw

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return self.raw[i], self.raw[i + 1], self.raw[i + 2]

    def count_differing(self, other, rect):
        left, top, width, height = rect
        return sum(1 for y in range(top, top + height) for x in range(left, left + width)
                   if distance(self.at(x, y), other.at(x, y)) > 72)


def distance(a, b):
    return sum(abs(p - q) for p, q in zip(a, b))


def fraction_rules(shot, rect):
    """Centres of fraction rules in `rect`: a run of text-coloured pixels at least 9 wide and at most
    3 rows thick, clear of ink for 3 rows above and below, with glyph pixels (a numerator and a
    denominator) further above and below it. The bars of letters (an H's, an f's) touch their stems,
    and the markup's own characters have no such bar."""
    left, top, width, height = rect
    card = shot.at(left + width - 2, top + height - 2)

    def ink(x, y):
        return top <= y < top + height and distance(shot.at(x, y), card) > 180

    def full(y, x0, x1):
        return sum(ink(x, y) for x in range(x0, x1)) >= 0.85 * (x1 - x0)

    def any_ink(rows, columns):
        return any(ink(x, y) for y in rows for x in columns)

    rules = []
    for y in range(top + 1, top + height - 1):
        x = left
        while x < left + width:
            if not ink(x, y):
                x += 1
                continue
            x0 = x
            while x < left + width and ink(x, y):
                x += 1
            x1 = x
            if x1 - x0 < 9 or any(abs(y - ry) <= 4 and abs((x0 + x1) / 2 - rx) < 4 for rx, ry in rules):
                continue
            first = last = y
            while full(first - 1, x0, x1):
                first -= 1
            while full(last + 1, x0, x1):
                last += 1
            inner = range(x0 + 1, x1 - 1)
            if last - first <= 2 and \
                    not any_ink(range(first - 3, first), inner) and \
                    not any_ink(range(last + 1, last + 4), inner) and \
                    any_ink(range(first - 16, first - 3), inner) and \
                    any_ink(range(last + 4, last + 17), inner):
                rules.append(((x0 + x1) / 2, y))
    return rules


def settled(what, name, geometry, condition):
    """The first screenshot that meets `condition` and shows the same panel as the one before it, so
    a frame caught between a change and its repaint is never judged."""
    last = [None]

    def take():
        shot = Shot(name, geometry)
        same = last[0] is not None and last[0].raw == shot.raw
        last[0] = shot
        return shot if same and condition(shot) else None
    return e2e.wait_for(what, take)


def ask(program, window, question, answer, replies_before):
    e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 200, "body": reply_body(answer)})
    e2e.click(window, 282, 133)  # "Ask a question"
    e2e.x("xdotool", "type", "--delay", "20", question)
    e2e.x("xdotool", "key", "Return")
    replies = e2e.wait_for("the collected reply", lambda: len(
        program.lines_starting("[vyk] dev: reply collected")) > replies_before and
        program.lines_starting("[vyk] dev: reply collected"))
    e2e.check(replies[-1].startswith("[vyk] dev: reply collected (status 0, option 2"), "reply: %r" % replies)


def test_answer_with_math_paints_its_badge_card_and_fraction_rules():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg())
    try:
        geometry = e2e.window_geometry(window)
        e2e.check(geometry[2:] == (PANEL_W, PANEL_H), "panel at %r" % (geometry,))
        # Painted: the close dot has its colour.
        empty = settled("the empty panel", "e2e_panel_empty.png", geometry,
                        lambda shot: distance(shot.at(21, 21), (0xE1, 0x6C, 0x5D)) < 24)
        e2e.click(window, 194, 330)  # the panel takes the keyboard
        e2e.wait_for("the panel to take the focus",
                     lambda: e2e.x("xdotool", "getwindowfocus").strip() == window, timeout=30)

        ask(program, window, "What is half of one?", MATH_ANSWER, 0)
        answer = settled("the badge and the card", "e2e_answer_math.png", geometry,
                         lambda shot: shot.count_differing(empty, BADGE) > 150 and
                         shot.count_differing(empty, ANSWER_BODY) > 300)

        # Collapse the explanation, so the whole answer is in view: the card grows over its place.
        e2e.click(window, *EXPLANATION_HEADER)
        collapsed = settled("the explanation to collapse", "e2e_answer_math_collapsed.png", geometry,
                            lambda shot: shot.count_differing(answer, (34, 300, PANEL_W - 68, 80)) > 100)
        rules = fraction_rules(collapsed, TALL_ANSWER_BODY)
        e2e.check(len(rules) == 2, "fraction rules at %r" % rules)
        inline, display = sorted(rules, key=lambda rule: rule[1])
        e2e.check(inline[0] < BODY_CENTRE - 30, "the inline fraction's rule at %r" % (inline,))
        e2e.check(abs(display[0] - BODY_CENTRE) <= 4, "the display run is not centred: %r" % (display,))
        e2e.check(display[1] > inline[1] + 20, "the display run is not on a line of its own: %r" % rules)

        # The same words without their dollars are plain text: no rule.
        ask(program, window, "And without math?", PLAIN_ANSWER, 1)
        plain = settled("the plain answer", "e2e_answer_plain.png", geometry,
                        lambda shot: shot.count_differing(collapsed, TALL_ANSWER_BODY) > 300)
        e2e.check(fraction_rules(plain, TALL_ANSWER_BODY) == [], "rules in plain text")

        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        program.stop()


if __name__ == "__main__":
    e2e.run([test_answer_with_math_paints_its_badge_card_and_fraction_rules])
