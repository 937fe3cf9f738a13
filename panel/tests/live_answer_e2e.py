#!/usr/bin/env python3
"""Live answers on the running development program under Wine: with the setting on, a typed question's
answer streams in from the stand-in and the answer card grows before the reply is complete (two
screenshots, early and final); the time from the Send key to the first painted answer text is taken
from the program's own log line and compared with the stand-in's first-token delay. A stream the
endpoint refuses is asked again without the flag and answered; a stream cut off part way keeps what
arrived on the panel and ends in the failure's sentence."""

import base64
import json
import os
import re
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

LIVE_INI = "[Panel]\r\nLiveAnswers=1\r\n"
CHAT = "/v1/chat/completions"
EXPLANATION = " ".join(["Each step keeps both sides equal, so the value found for x satisfies the equation."] * 8)
# Each run's answer begins differently, so no run paints text an earlier one has drawn.
ANSWERS = ["x = 4, found by subtracting 3 and halving", "y = 7, found by adding 5 and dividing by 3",
           "n = 12, the only whole number that fits", "k = 9, found by squaring both sides",
           "t = 2.5, found by moving t to one side"]
RUNS = len(ANSWERS)


def content(answer):
    """About 200 tokens of 4 characters: the answer comes first, as the reply object puts it."""
    return json.dumps({"answer": answer, "explanation": EXPLANATION, "option": None})


CONTENT = content(ANSWERS[0])


def live_lines(program):
    return program.lines_starting("[vyk] dev: live answer painted")


def replies(program):
    return program.lines_starting("[vyk] dev: reply collected")


def ask(program, window, question, replies_before):
    e2e.click(window, 282, 133)  # "Ask a question"
    e2e.x("xdotool", "type", "--delay", "10", question)
    e2e.x("xdotool", "key", "Return")
    return lambda: len(replies(program)) > replies_before and replies(program)


def chat_requests():
    return e2e.standin_requests(CHAT)


def streamed(request):
    return json.loads(base64.b64decode(request["body_base64"])).get("stream") is True


def test_the_answer_card_grows_and_the_first_word_shows_soon():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=LIVE_INI)
    first_word_ms, server_first_ms = [], []
    try:
        for run in range(RUNS):
            e2e.standin_call("reset", {})
            e2e.standin_call("script", {"path": CHAT, "action": "stream", "content": content(ANSWERS[run]),
                                        "first_token_ms": 500,
                                        "tokens_per_second": 40, "token_chars": 4})
            done = ask(program, window, "Solve 2x + 3 = 11", run)
            painted = e2e.wait_for("the first live text", lambda: len(live_lines(program)) > run and live_lines(program))
            if run == 0:
                e2e.screenshot("e2e_live_answer_early.png")
            e2e.check(len(replies(program)) == run, "the reply came before the live text: %r" % replies(program))
            collected = e2e.wait_for("the reply", done)
            e2e.check(collected[-1].startswith("[vyk] dev: reply collected (status 0"), "reply: %r" % collected)
            if run == 0:
                e2e.screenshot("e2e_live_answer_final.png")
            match = re.search(r"([0-9.]+) ms after the query started", painted[-1])
            e2e.check(match is not None, "line: %r" % painted[-1])
            first_word_ms.append(float(match.group(1)))
            request = chat_requests()[-1]
            e2e.check(streamed(request), "the request did not ask for a stream")
            server_first_ms.append(request["first_content_ms"] - request["received_ms"])
        print("first answer text painted after the Send key, ms:", first_word_ms, flush=True)
        print("stand-in: first token after the request arrived, ms:", [round(v, 1) for v in server_first_ms],
              flush=True)
        print("median %.0f ms (stand-in's first-token delay %.0f ms)" % (statistics.median(first_word_ms),
                                                                         statistics.median(server_first_ms)),
              flush=True)
    finally:
        program.stop()
        e2e.standin_call("reset", {})


def test_a_refused_stream_is_answered_and_a_cut_off_one_keeps_what_arrived():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=LIVE_INI)
    try:
        # The endpoint refuses streaming: one more request without the flag, and the answer.
        e2e.standin_call("script", {"path": CHAT, "action": "stream", "content": CONTENT, "refuse": "error"})
        collected = e2e.wait_for("the reply", ask(program, window, "Solve 2x + 3 = 11", 0))
        e2e.check(collected[-1].startswith("[vyk] dev: reply collected (status 0"), "reply: %r" % collected)
        asked = [streamed(r) for r in chat_requests()]
        e2e.check(asked == [True, False], "requests asked for streams: %r" % asked)

        # A fresh program (the refusal is remembered for this endpoint): the stream drops part way.
        program.stop()
        e2e.standin_call("reset", {})
        program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=LIVE_INI)
        e2e.standin_call("script", {"path": CHAT, "action": "stream", "content": CONTENT, "first_token_ms": 100,
                                    "tokens_per_second": 40, "drop_after_tokens": 40})
        collected = e2e.wait_for("the reply", ask(program, window, "Solve 2x + 3 = 11", 0))
        e2e.check(len(live_lines(program)) == 1, "no live text before the cut: %r" % program.output())
        e2e.check(collected[-1].startswith("[vyk] dev: reply collected (status 2"), "reply: %r" % collected)
        e2e.screenshot("e2e_live_answer_cut_off.png")
    finally:
        program.stop()
        e2e.standin_call("reset", {})


if __name__ == "__main__":
    e2e.run([test_the_answer_card_grows_and_the_first_word_shows_soon,
             test_a_refused_stream_is_answered_and_a_cut_off_one_keeps_what_arrived])
