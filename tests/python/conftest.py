"""One QApplication for the tests, on the offscreen platform unless the caller chose another."""
import os
import pathlib

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import pytest
from PyQt6.QtGui import QImage
from PyQt6.QtWidgets import QApplication

_app = QApplication.instance() or QApplication(["zent-python-tests"])


def grab(widget):
    """What the widget shows, painted afresh, as 32-bit RGB."""
    return widget.grab().toImage().convertToFormat(QImage.Format.Format_RGB32)


def save_picture(image, name):
    """Saves image under the build's picture folder; returns the path."""
    folder = pathlib.Path(os.environ.get("ZENT_TEST_OUTPUT_DIR", "pictures"))
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / f"{name}.png"
    image.save(str(path))
    return path


@pytest.fixture
def hook(monkeypatch):
    """sys.excepthook replaced by one that records (type, value, traceback)."""
    import sys

    calls = []
    monkeypatch.setattr(sys, "excepthook", lambda *info: calls.append(info))
    return calls
