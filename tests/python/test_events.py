"""Events holding Python callables: what they receive and return, and a callable that fails."""
import os
import subprocess
import sys
import textwrap

import pytest
from PyQt6.QtCore import QPoint, Qt
from PyQt6.QtTest import QTest
from PyQt6.QtWidgets import QWidget

import zent
from conftest import grab, save_picture


def state_label():
    """A label whose value text is its StateText, in full Unicode."""
    lab = zent.TNumLab()
    lab.resize(200, 28)
    lab.SetDisplayType(zent.dtState)
    lab.SetStateText("\u03a9 \U0001d11e")
    return lab


def renamed_selector():
    sel = zent.TColSel()
    sel.SetNumColors(20)
    return sel


# The two text events: how to make the widget, the event's name, and what
# raises it and reads the resulting text.
TEXT_EVENTS = {
    "OnBeforeDisplay": (state_label, lambda lab: lab.ValueText()),
    "OnColorNameChange": (renamed_selector, lambda sel: (sel.SetSelColor(0x112233), sel.EntryName(1))[1]),
}
UNCHANGED = {"OnBeforeDisplay": "\u03a9 \U0001d11e", "OnColorNameChange": "$00112233"}

# A handler and the text it leaves: the text it returns, None keeps the text.
HANDLERS = [
    ("returns a new text", lambda s, t: "\u2192" + t + " \u0416", lambda old: "\u2192" + old + " \u0416"),
    ("returns None", lambda s, t: None, lambda old: old),
    ("returns the empty text", lambda s, t: "", lambda old: ""),
]


@pytest.mark.parametrize("event", TEXT_EVENTS)
@pytest.mark.parametrize("what, handler, result", HANDLERS, ids=[h[0] for h in HANDLERS])
def test_text_event_gives_the_handler_the_text_and_takes_its_answer(event, what, handler, result):
    make, raise_event = TEXT_EVENTS[event]
    widget = make()
    seen = []

    def recording(sender, text):
        seen.append((sender, text))
        return handler(sender, text)

    setattr(widget, event, recording)
    assert getattr(widget, event) is recording
    assert raise_event(widget) == result(UNCHANGED[event])
    assert seen and seen[0] == (widget, UNCHANGED[event]), "the sender is the widget, the text in full Unicode"

    setattr(widget, event, None)
    assert getattr(widget, event) is None
    assert raise_event(make()) == UNCHANGED[event]


# What a failing handler does: raises, or returns something that is no text.
FAILURES = [
    ("raises", lambda s, t: 1 / 0, ZeroDivisionError),
    ("returns a number", lambda s, t: 42, TypeError),
    ("takes too few arguments", lambda s: "x", TypeError),
]


@pytest.mark.parametrize("event", TEXT_EVENTS)
@pytest.mark.parametrize("what, handler, error", FAILURES, ids=[f[0] for f in FAILURES])
def test_failing_text_handler_is_reported_and_the_text_stays(event, what, handler, error, hook):
    make, raise_event = TEXT_EVENTS[event]
    widget = make()
    setattr(widget, event, handler)
    assert raise_event(widget) == UNCHANGED[event]
    assert [type(value) for _, value, _ in hook] == [error]
    assert hook[0][2] is not None or error is TypeError, "the report carries the traceback"


def test_label_whose_handler_fails_paints_fully_and_goes_on(hook):
    plain = state_label()
    failing = state_label()
    failing.OnBeforeDisplay = lambda sender, text: [][1]
    expected = grab(plain)
    for attempt in range(2):
        actual = grab(failing)
        if actual != expected:
            pytest.fail(f"half painted; see {save_picture(actual, 'python-failing-handler')}")
    assert [type(value) for _, value, _ in hook] == [IndexError, IndexError], "once per paint"
    assert hook[0][2].tb_frame.f_code.co_name == "<lambda>"
    assert failing.DrawnText() == plain.DrawnText() == "\u03a9 \U0001d11e"


def test_default_excepthook_prints_the_traceback_and_the_program_goes_on():
    # In a program of its own: PyQt ends the process on an unhandled exception
    # in its own callbacks under the default hook; an event's handler never does.
    script = textwrap.dedent("""
        from PyQt6.QtWidgets import QApplication
        import zent
        app = QApplication([])
        lab = zent.TNumLab()
        lab.OnBeforeDisplay = lambda s, t: undefined_name
        lab.grab()
        sel = zent.TColSel()
        sel.OnColorNameChange = lambda s, t: 1 / 0
        sel.SetSelColor(0x445566)
        print("still running", sel.EntryName(sel.CurrentEntry()))
    """)
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=60,
                          env=dict(os.environ))
    assert done.returncode == 0, done.stderr
    assert done.stdout.strip() == "still running $00445566"
    assert done.stderr.count("Traceback (most recent call last)") == 2
    assert "NameError" in done.stderr and "ZeroDivisionError" in done.stderr


def shown_selector():
    window = QWidget()
    sel = zent.TColSel(window)
    sel.SetNumColors(10)
    window.show()
    return window, sel


def click(widget):
    QTest.mouseClick(widget, Qt.MouseButton.LeftButton, Qt.KeyboardModifier.NoModifier, QPoint(5, 5))


# Notify events: the widget, the event, and what raises it.
NOTIFY_EVENTS = {
    "selector OnClick": (shown_selector, "OnClick", lambda sel: QTest.keyClick(sel, Qt.Key.Key_Down)),
    "selector OnChange": (shown_selector, "OnChange", lambda sel: QTest.keyClick(sel, Qt.Key.Key_Down)),
    "display OnClick": (lambda: (None, zent.TSevenSeg()), "OnClick", click),
    "label OnResize": (lambda: (None, zent.TNumLab()), "OnResize",
                       lambda lab: lab.SetBounds(0, 0, lab.width() + 1, 40)),
}


@pytest.mark.parametrize("name", NOTIFY_EVENTS)
def test_notify_event_calls_the_callable_with_the_sender(name):
    make, event, fire = NOTIFY_EVENTS[name]
    keep, widget = make()
    heard = []
    setattr(widget, event, heard.append)
    fire(widget)
    assert heard == [widget]
    setattr(widget, event, None)
    fire(widget)
    assert heard == [widget]


@pytest.mark.parametrize("name", NOTIFY_EVENTS)
def test_failing_notify_handler_is_reported_and_the_widget_goes_on(name, hook):
    make, event, fire = NOTIFY_EVENTS[name]
    keep, widget = make()
    setattr(widget, event, lambda sender: sender.no_such_method())
    fire(widget)
    assert [type(value) for _, value, _ in hook] == [AttributeError]
    setattr(widget, event, lambda sender: None)
    fire(widget)
    assert len(hook) == 1


def test_selector_pick_runs_click_change_and_the_signal_in_order():
    keep, sel = shown_selector()
    order = []
    sel.OnClick = lambda s: order.append(("click", s.CurrentEntry()))
    sel.OnChange = lambda s: order.append(("change", s.CurrentEntry()))
    sel.SelColorChanged.connect(lambda c: order.append(("signal", zent.FromQColor(c))))
    QTest.keyClick(sel, Qt.Key.Key_Down)
    assert order == [("click", 2), ("change", 2), ("signal", sel.EntryColor(2))]


def test_handler_may_replace_or_clear_its_event_while_it_runs():
    lab = state_label()
    calls = []

    def once(sender, text):
        sender.OnBeforeDisplay = None  # drops the last reference to this handler
        calls.append(text)
        return text + "!"

    lab.OnBeforeDisplay = once
    del once
    assert lab.ValueText() == "\u03a9 \U0001d11e!"
    assert lab.ValueText() == "\u03a9 \U0001d11e"
    assert len(calls) == 1


@pytest.mark.parametrize("value", [42, "text", object()])
def test_event_takes_only_a_callable_or_none(value):
    lab = zent.TNumLab()
    with pytest.raises(TypeError):
        lab.OnBeforeDisplay = value
    with pytest.raises(TypeError):
        lab.OnClick = value
    assert lab.OnBeforeDisplay is None and lab.OnClick is None
