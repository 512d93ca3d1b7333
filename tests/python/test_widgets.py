"""The widgets as PyQt6 widgets: pixels against C++, properties, signals, the text functions."""
import os
import subprocess

import pytest
from PyQt6.QtCore import Qt
from PyQt6.QtGui import QColor, QImage
from PyQt6.QtWidgets import QHBoxLayout, QWidget

import zent
from conftest import grab, save_picture

# Each case: class, size, and the settings in order as (property, the value
# Python's setter takes, the text C++ writes through the property system).
PIXEL_CASES = {
    "display default": (zent.TSevenSeg, (216, 76), []),
    "display set": (zent.TSevenSeg, (300, 80), [
        ("NumDigits", 6, "6"),
        ("Caption", "-12:45\u00b0C", "-12:45\u00b0C"),
        ("ColorText", 0x0080FF, "#ff8000"),       # TColor is 0x00BBGGRR
        ("ColorBackGnd", QColor("#202040"), "#202040"),
        ("FrameStyle", zent.fsRaised, "fsRaised"),
        ("Margin", 5, "5"),
    ]),
    "label fixed": (zent.TNumLab, (180, 28), [
        ("LeftText", "Inside", "Inside"),
        ("RightText", "\u00b0C", "\u00b0C"),
        ("DisplayType", zent.dtFixP, "dtFixP"),
        ("Precision", 1, "1"),
        ("Value", 21.5, "21.5"),
    ]),
    "label unicode": (zent.TNumLab, (200, 30), [
        ("LeftText", "R1", "R1"),
        ("RightText", "k\u03a9", "k\u03a9"),
        ("DisplayType", zent.dtEEng, "dtEEng"),
        ("Value", 4700.0, "4700"),
        ("ColorLabText", 0x0000C0, "#c00000"),
        ("ColorOutBakG", QColor("#ffffe0"), "#ffffe0"),
        ("Alignment", zent.taLeftJustify, "taLeftJustify"),
        ("FrameStyle", zent.fsSimple, "fsSimple"),
    ]),
}


@pytest.mark.parametrize("name", PIXEL_CASES)
def test_python_widget_paints_what_the_same_cpp_widget_paints(name, tmp_path):
    cls, (width, height), settings = PIXEL_CASES[name]
    reference = tmp_path / "reference.png"
    subprocess.run([os.environ["ZENT_PIXEL_REFERENCE"], str(reference), cls.__name__, str(width), str(height)]
                   + [f"{prop}={text}" for prop, _, text in settings], check=True)
    widget = cls()
    widget.resize(width, height)
    for prop, value, _ in settings:
        getattr(widget, "Set" + prop)(value)
    actual = grab(widget)
    expected = QImage(str(reference)).convertToFormat(QImage.Format.Format_RGB32)
    tag = "python-" + name.replace(" ", "-")
    if actual != expected:
        pytest.fail(f"{name}: differs from C++; see {save_picture(actual, tag)} and "
                    f"{save_picture(expected, tag + '-expected')}")
    save_picture(actual, tag)
    assert len({actual.pixel(x, height // 2) for x in range(width)}) > 2, "something was drawn"


# Writing through the setter and reading back through the getter Python names.
ROUND_TRIPS = [
    (zent.TSevenSeg, "SetCaption", "\u00b0 12.5", "Caption", "\u00b0 12.5"),
    (zent.TSevenSeg, "SetNumDigits", 9, "NumDigits", 9),
    (zent.TSevenSeg, "SetInterDigDist", 7, "InterDigDist", 7),
    (zent.TSevenSeg, "SetColorText", 0x123456, "ColorText", 0x123456),
    (zent.TSevenSeg, "SetColorText", QColor(0x56, 0x34, 0x12), "ColorText", 0x123456),
    (zent.TSevenSeg, "SetColorBackGnd", 0x00FF00, "ColorBackGndQ", QColor(0, 255, 0)),
    (zent.TSevenSeg, "SetFrameStyle", zent.fsEngraved, "FrameStyle", zent.fsEngraved),
    (zent.TSevenSeg, "SetColorScheme", zent.csSystem, "ColorScheme", zent.csSystem),
    (zent.TSevenSeg, "SetGlyphCacheLimit", 1 << 33, "GlyphCacheLimit", 1 << 33),
    (zent.TNumLab, "SetLeftText", "\u0394T", "LeftText", "\u0394T"),
    (zent.TNumLab, "SetRightText", "k\u03a9", "RightText", "k\u03a9"),
    (zent.TNumLab, "SetStateText", "\U0001d11e on", "StateText", "\U0001d11e on"),
    (zent.TNumLab, "SetDTFormat", "hh:nn", "DTFormat", "hh:nn"),
    (zent.TNumLab, "SetOverflowIndicator", "\u2026", "OverflowIndicator", "\u2026"),
    (zent.TNumLab, "SetDisplayType", zent.dtOct, "DisplayType", zent.dtOct),
    (zent.TNumLab, "SetAlignment", zent.taRightJustify, "Alignment", zent.taRightJustify),
    (zent.TNumLab, "SetLeftTextAlignment", zent.taCenter, "LeftTextAlignment", zent.taCenter),
    (zent.TNumLab, "SetRightTextAlignment", zent.taCenter, "RightTextAlignment", zent.taCenter),
    (zent.TNumLab, "SetPrecision", 4, "Precision", 4),
    (zent.TNumLab, "SetLabelWidth", 61, "LabelWidth", 61),
    (zent.TNumLab, "SetLeftSpace", 12, "LeftSpace", 12),
    (zent.TNumLab, "SetValue", -2.75, "Value", -2.75),
    (zent.TNumLab, "SetComma", True, "Comma", True),
    (zent.TNumLab, "SetEmpty", True, "Empty", True),
    (zent.TNumLab, "SetEnabled", False, "Enabled", False),
    (zent.TNumLab, "SetForcePlusSign", True, "ForcePlusSign", True),
    (zent.TNumLab, "SetTransparent", True, "Transparent", True),
    (zent.TNumLab, "SetColorLabBakG", 0x010203, "ColorLabBakG", 0x010203),
    (zent.TNumLab, "SetColorOutText", QColor("red"), "ColorOutText", zent.clRed),
    (zent.TColSel, "SetNumColors", 16, "NumColors", 16),
    (zent.TColSel, "SetColorBarWidth", 12, "ColorBarWidth", 12),
    (zent.TColSel, "SetSelColor", zent.clNavy, "SelColor", zent.clNavy),
    (zent.TColSel, "SetSelColor", QColor(0, 0, 128), "SelColorQ", QColor(0, 0, 128)),
    (zent.TColSel, "SetColor", zent.clYellow, "Color", zent.clYellow),
]


@pytest.mark.parametrize("cls, setter, value, getter, expected", ROUND_TRIPS,
                         ids=[f"{c.__name__}.{s}" for c, s, *_ in ROUND_TRIPS])
def test_setter_and_getter(cls, setter, value, getter, expected):
    widget = cls()
    getattr(widget, setter)(value)
    got = getattr(widget, getter)()
    assert got == expected
    assert type(got) is type(expected) or isinstance(got, type(expected))


# Each signal fires with the value the setter stored.
SIGNALS = [
    (zent.TSevenSeg, "SetCaption", "\u00e9t\u00e9", "CaptionChanged", "\u00e9t\u00e9"),
    (zent.TSevenSeg, "SetNumDigits", 6, "NumDigitsChanged", 6),
    (zent.TSevenSeg, "SetColorText", zent.clLime, "ColorTextChanged", QColor(0, 255, 0)),
    (zent.TSevenSeg, "SetFrameStyle", zent.fsNone, "FrameStyleChanged", zent.fsNone),
    (zent.TNumLab, "SetDisplayType", zent.dtExp, "DisplayTypeChanged", zent.dtExp),
    (zent.TNumLab, "SetValue", 1.5, "ValueChanged", 1.5),
    (zent.TNumLab, "SetPrecision", 40, "PrecisionChanged", 15),
    (zent.TNumLab, "SetRightText", "\u2103", "RightTextChanged", "\u2103"),
    (zent.TColSel, "SetNumColors", 8, "NumColorsChanged", 8),
    (zent.TColSel, "SetSelColor", zent.clRed, "SelColorChanged", QColor(255, 0, 0)),
]


@pytest.mark.parametrize("cls, setter, value, signal, expected", SIGNALS,
                         ids=[f"{c.__name__}.{s}" for c, _, _, s, _ in SIGNALS])
def test_signal_reaches_a_python_callable(cls, setter, value, signal, expected):
    widget = cls()
    heard = []
    getattr(widget, signal).connect(lambda *args: heard.append(args))
    getattr(widget, setter)(value)
    getattr(widget, setter)(value)  # unchanged: no second signal
    assert heard == [(expected,)]


def test_widgets_live_in_a_pyqt_layout_and_the_property_system():
    window = QWidget()
    layout = QHBoxLayout(window)
    widgets = [zent.TSevenSeg(window), zent.TNumLab(window), zent.TColSel(window)]
    for w in widgets:
        layout.addWidget(w)
        assert w.parent() is window and w.parentWidget() is window
    window.resize(700, 100)
    window.show()
    assert all(w.isVisible() and w.width() > 0 for w in widgets)
    assert grab(window).size() == window.size()

    display, label, _ = widgets
    assert display.setProperty("Caption", "4.2")
    assert display.Caption() == "4.2" and display.property("Caption") == "4.2"
    assert label.setProperty("DisplayType", "dtHex")
    assert label.DisplayType() == zent.dtHex
    assert label.setProperty("ColorLabText", QColor(Qt.GlobalColor.blue))
    assert label.ColorLabText() == zent.clBlue
    assert display.sizeHint().width() > 0 and label.minimumSizeHint().height() > 0


# The library's conversions with examples from their documentation.
FUNCTIONS = [
    (zent.FormatFixed, (1, 0, 2.5), "3"),
    (zent.FormatFixed, (1, 2, 0.125), "0.13"),
    (zent.FormatEngineering, (-3, 12345.0), "12k3"),
    (zent.FloatToText, (zent.TFloatFormat.General, 12345.678, 4), "1.235E004"),
    (zent.FloatToText, (zent.TFloatFormat.Exponent, 0.00015, 3), "1.50E-004"),
    (zent.FormatDegrees, (1, 0, 12.5), "12\u00b0  30'"),
    (zent.DateTimeToText, ("yyyy-mm-dd hh:nn", 2.5), "1900-01-01 12:00"),
    (zent.DateTimeToText, ("yyyy\u5e74mm\u6708dd\u65e5", 2.0), "1900\u5e7401\u670801\u65e5"),
    (zent.DateTimeToText, ("yyyy", float("nan")), ""),
    (zent.ColorToText, (zent.clRed,), "clRed"),
]


@pytest.mark.parametrize("function, args, expected", FUNCTIONS,
                         ids=[f"{f.__name__}{a}" for f, a, _ in FUNCTIONS])
def test_text_function(function, args, expected):
    assert function(*args) == expected


def test_errors_of_the_library_become_python_exceptions():
    sel = zent.TColSel()
    with pytest.raises(IndexError):
        sel.EntryColor(256)
    with pytest.raises(ValueError):
        zent.TSevenSeg().Assign(QWidget())
    with pytest.raises(TypeError):
        zent.TNumLab().SetDisplayType("dtExp")
    with pytest.raises(ValueError):
        zent.FromQColor(QColor())
