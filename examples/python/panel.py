"""A small instrument panel: a seven-segment clock, this machine's CPU load,
memory use and uptime, and a colour list that recolours the clock.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/panel.py
    ... panel.py --screenshot panel.png   # shows the panel, saves it, quits
"""
import argparse
import datetime
import sys
import time

import psutil
from PyQt6.QtCore import QTimer
from PyQt6.QtWidgets import QApplication, QGridLayout, QWidget

import zent

EPOCH = datetime.datetime(1899, 12, 30)  # date-time value 0.0


def now_value():
    """The present local time as the library's date-time value (days since EPOCH)."""
    return (datetime.datetime.now() - EPOCH) / datetime.timedelta(days=1)


def reading(parent, name, unit, display_type, precision):
    lab = zent.TNumLab(parent)
    lab.SetLeftSpace(70)
    lab.SetLabelWidth(90)
    lab.SetLeftText(name)
    lab.SetRightText(unit)
    lab.SetDisplayType(display_type)
    lab.SetPrecision(precision)
    lab.SetAlignment(zent.taRightJustify)
    lab.setMinimumWidth(200)
    return lab


class Panel(QWidget):
    def __init__(self):
        super().__init__()
        self.setWindowTitle("Zent panel")
        layout = QGridLayout(self)

        self.clock = zent.TSevenSeg(self)
        self.clock.SetNumDigits(8)
        self.clock.SetColorText(zent.clLime)
        self.clock.setMinimumSize(360, 80)
        layout.addWidget(self.clock, 0, 0, 1, 2)

        self.cpu = reading(self, "CPU", "%", zent.dtFixP, 1)
        self.memory = reading(self, "Memory", "B", zent.dtEEng, 3)  # 7.85G, then the unit
        self.uptime = reading(self, "Uptime", "", zent.dtFixP, 1)
        # The uptime in the largest unit that keeps it above 1: the handler
        # rewrites the value text before it is drawn.
        self.uptime.OnBeforeDisplay = lambda sender, text: uptime_text(sender.Value())
        for row, lab in enumerate((self.cpu, self.memory, self.uptime), start=1):
            layout.addWidget(lab, row, 0)

        self.colours = zent.TColSel(self)
        self.colours.SetNumColors(16)
        self.colours.SetSelColor(zent.clLime)
        self.colours.SelColorChanged.connect(self.clock.SetColorText)  # QColor signal to QColor slot
        layout.addWidget(self.colours, 1, 1)

        psutil.cpu_percent()  # the first call starts the measurement
        self.timer = QTimer(self, interval=1000, timeout=self.tick)
        self.timer.start()
        self.tick()

    def tick(self):
        self.clock.SetCaption(zent.DateTimeToText("hh:nn:ss", now_value()))
        self.cpu.SetValue(psutil.cpu_percent())
        self.memory.SetValue(psutil.virtual_memory().used)
        self.uptime.SetValue(time.time() - psutil.boot_time())


def uptime_text(seconds):
    for size, unit in ((86400, "d"), (3600, "h"), (60, "min")):
        if seconds >= size:
            return f"{seconds / size:.1f} {unit}"
    return f"{seconds:.0f} s"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--screenshot", metavar="FILE", help="save the shown panel as FILE and quit")
    args = parser.parse_args()
    app = QApplication(sys.argv[:1])
    panel = Panel()
    panel.show()
    if args.screenshot:
        def shoot():
            panel.tick()
            # What the screen shows of the window, not a fresh paint.
            panel.screen().grabWindow(panel.winId()).save(args.screenshot)
            app.quit()
        QTimer.singleShot(1500, shoot)
    return app.exec()


if __name__ == "__main__":
    sys.exit(main())
