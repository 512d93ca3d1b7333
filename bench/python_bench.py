"""From Python: a new caption or value on the screen, against PyQt6's QLabel.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py [--iterations N]

Each pair runs in the same process on shown widgets of the same size, with
a text that changes on every call: TSevenSeg.SetCaption (the default
Immediate repaint policy paints before it returns) against QLabel.setText +
repaint(), and TNumLab.SetValue against QLabel.setNum + repaint(). Prints the
best of several rounds per call and the ratio to QLabel; compare ratios, not
absolute times.
"""
import argparse
import os
import sys
import time

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

from PyQt6.QtWidgets import QApplication, QFrame, QLabel, QVBoxLayout, QWidget  # noqa: E402

import zent  # noqa: E402


def best_per_call(step, iterations, rounds):
    best = float("inf")
    for _ in range(rounds):
        start = time.perf_counter()
        for i in range(iterations):
            step(i)
        best = min(best, (time.perf_counter() - start) / iterations)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--iterations", type=int, default=2000)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    app = QApplication(sys.argv[:1])
    window = QWidget()
    layout = QVBoxLayout(window)

    display = zent.TSevenSeg(window)
    display.SetNumDigits(8)
    caption_label = QLabel(window)
    label = zent.TNumLab(window)
    label.SetDisplayType(zent.dtFixP)
    label.SetPrecision(2)
    number_label = QLabel(window)
    number_label.setFrameStyle(QFrame.Shape.Panel | QFrame.Shadow.Sunken)
    for w, size in ((display, (216, 76)), (caption_label, (216, 76)), (label, (160, 28)), (number_label, (160, 28))):
        w.setFixedSize(*size)
        layout.addWidget(w)
    window.show()
    app.processEvents()

    captions = [f"{i % 24:02d}:{i % 60:02d}:{(i * 7) % 60:02d}" for i in range(1000)]

    def caption(i):
        display.SetCaption(captions[i % 1000])

    def qlabel_text(i):
        caption_label.setText(captions[i % 1000])
        caption_label.repaint()

    def value(i):
        label.SetValue(i * 0.25)

    def qlabel_number(i):
        number_label.setNum(i * 0.25)
        number_label.repaint()

    pairs = [
        ("caption + repaint", caption, "QLabel.setText + repaint", qlabel_text),
        ("value + repaint", value, "QLabel.setNum + repaint", qlabel_number),
    ]
    print(f"{'measured':<28}{'per call':>12}{'ratio to QLabel':>18}")
    for zent_name, zent_step, peer_name, peer_step in pairs:
        # Alternating order within the pair evens out warm-up and drift.
        peer = best_per_call(peer_step, args.iterations, args.rounds)
        mine = best_per_call(zent_step, args.iterations, args.rounds)
        peer = min(peer, best_per_call(peer_step, args.iterations, args.rounds))
        print(f"{peer_name:<28}{peer * 1e6:>10.1f}us{1.0:>18.2f}")
        print(f"{zent_name:<28}"
              f"{mine * 1e6:>10.1f}us{mine / peer:>18.2f}")
    # The setters painted: what the label's box showed last is its newest value.
    assert label.DrawnText() == label.ValueText(), "the label did not paint"
    return 0


if __name__ == "__main__":
    sys.exit(main())
