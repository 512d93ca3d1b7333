"""Widget life from Python: the callables an event holds, with and without a parent."""
import gc
import weakref

import pytest
from PyQt6.QtWidgets import QApplication, QWidget

import zent

# The events of each widget, and a callable of the right shape that refers
# back to the widget (the usual cycle: a closure over the widget).
EVENTS = [
    (zent.TNumLab, "OnBeforeDisplay", lambda w: lambda sender, text: text + str(w.Value())),
    (zent.TNumLab, "OnClick", lambda w: lambda sender: w.SetValue(1)),
    (zent.TSevenSeg, "OnResize", lambda w: lambda sender: w.SetCaption("r")),
    (zent.TColSel, "OnColorNameChange", lambda w: lambda sender, name: name + w.EntryName(1)),
    (zent.TColSel, "OnChange", lambda w: lambda sender: w.SelColor()),
]
IDS = [f"{cls.__name__}.{event}" for cls, event, _ in EVENTS]


def watch(widget):
    """A function that tells whether the C++ widget still exists. It looks the
    widget up by name among the application's widgets: a connection to its
    "destroyed" signal would be cleared with the wrapper in a collected cycle."""
    name = f"watched-{id(widget)}"
    widget.setObjectName(name)
    return lambda: any(w.objectName() == name for w in QApplication.allWidgets())


@pytest.mark.parametrize("cls, event, make_handler", EVENTS, ids=IDS)
def test_the_event_keeps_its_callable_until_replaced(cls, event, make_handler):
    widget = cls()
    handler = make_handler(widget)
    handler_ref = weakref.ref(handler)
    setattr(widget, event, handler)
    del handler
    gc.collect()
    assert handler_ref() is not None, "held while set"
    setattr(widget, event, None)
    gc.collect()
    assert handler_ref() is None, "let go when removed"


@pytest.mark.parametrize("cls, event, make_handler", EVENTS, ids=IDS)
def test_parentless_widget_in_a_cycle_with_its_callable_is_collected(cls, event, make_handler):
    widget = cls()
    exists = watch(widget)
    handler = make_handler(widget)
    setattr(widget, event, handler)
    widget_ref, handler_ref = weakref.ref(widget), weakref.ref(handler)
    del widget, handler
    gc.collect()
    assert widget_ref() is None and handler_ref() is None
    assert not exists(), "the C++ widget went with its wrapper"


@pytest.mark.parametrize("cls, event, make_handler", EVENTS, ids=IDS)
def test_child_lives_with_its_parent_and_goes_with_it(cls, event, make_handler):
    parent = QWidget()
    widget = cls(parent)
    exists = watch(widget)
    handler = make_handler(widget)
    setattr(widget, event, handler)
    widget_ref, handler_ref = weakref.ref(widget), weakref.ref(handler)
    del widget, handler
    gc.collect()
    assert widget_ref() is not None and handler_ref() is not None, "the parent keeps the child"
    assert exists()

    del parent
    gc.collect()
    assert not exists()
    assert widget_ref() is None and handler_ref() is None, "deleting the parent frees the child's callable"


def test_child_deleted_from_cpp_drops_its_callable():
    parent = QWidget()
    lab = zent.TNumLab(parent)
    marker = []
    handler = lambda sender, text: marker and text
    handler_ref = weakref.ref(handler)
    lab.OnBeforeDisplay = handler
    del handler
    lab.deleteLater()
    from PyQt6.QtCore import QCoreApplication, QEvent
    QCoreApplication.sendPostedEvents(None, QEvent.Type.DeferredDelete.value)
    gc.collect()
    assert handler_ref() is None
    import PyQt6.sip as sip
    assert sip.isdeleted(lab)
    assert parent.children() == []
