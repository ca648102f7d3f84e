"""What a screen reader finds through the accessibility bus: Kestrelon as an AT-SPI client
(pyatspi) sees it, with every question asked as Orca asks it and under a deadline.

usage: tst_atspi.py PATH/TO/kestrelon   (under a session bus and an X server, see run_atspi.sh)
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

# No answer within this many milliseconds counts as a hang.
DEADLINE_MS = 3000
Atspi.set_timeout(DEADLINE_MS, 20000)

failures = []
checks = 0


def check(ok, what):
    global checks
    checks += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def pump(seconds):
    """Lets events from the bus arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(find, seconds=10):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        pump(0.1)
    return None


def descendants(obj, pred, found=None):
    found = [] if found is None else found
    if obj is None:
        return found
    if pred(obj):
        found.append(obj)
    for i in range(obj.childCount):
        descendants(obj.getChildAtIndex(i), pred, found)
    return found


def one(root, pred, what):
    found = descendants(root, pred)
    if not check(len(found) == 1, "%s: one found (%d)" % (what, len(found))):
        sys.exit(report())
    return found[0]


def named(name):
    return lambda o: o.name == name


def slider(name):
    return lambda o: o.getRole() == pyatspi.ROLE_SLIDER and o.name.startswith(name)


def report():
    print("%d checks, %d failed" % (checks, len(failures)), flush=True)
    return 1 if failures else 0


def key(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)
    pump(0.3)


class Listener:
    """Collects the bus events of one kind."""

    def __init__(self, kind):
        self.events = []
        self.kind = kind
        pyatspi.Registry.registerEventListener(self.events.append, kind)

    def of(self, source):
        return [e for e in self.events if e.source == source]

    def clear(self):
        self.events.clear()


def text_boxes_answer_every_boundary(window, boxes, where, whole_runs=True):
    boundaries = {
        "char": pyatspi.TEXT_BOUNDARY_CHAR,
        "word start": pyatspi.TEXT_BOUNDARY_WORD_START,
        "word end": pyatspi.TEXT_BOUNDARY_WORD_END,
        "sentence start": pyatspi.TEXT_BOUNDARY_SENTENCE_START,
        "sentence end": pyatspi.TEXT_BOUNDARY_SENTENCE_END,
        "line start": pyatspi.TEXT_BOUNDARY_LINE_START,
        "line end": pyatspi.TEXT_BOUNDARY_LINE_END,
    }
    for box in boxes:
        text = box.queryText()
        length = text.characterCount
        whole = text.getText(0, -1)
        slow = []
        for bname, boundary in boundaries.items():
            for offset in sorted({0, length // 2, length}):
                for ask in (text.getTextAtOffset, text.getTextBeforeOffset,
                            text.getTextAfterOffset):
                    started = time.monotonic()
                    try:
                        ask(offset, boundary)
                    except Exception as error:  # a timeout is a hang
                        slow.append("%s %s@%d: %s" % (ask.__name__, bname, offset, error))
                        continue
                    if time.monotonic() - started > 1:
                        slow.append("%s %s@%d slow" % (ask.__name__, bname, offset))
        check(not slow, "%s %r (%r): every boundary at 0, middle and end answers %s"
              % (where, box.name, whole, slow))
        if length and whole_runs:
            line = text.getTextAtOffset(length, pyatspi.TEXT_BOUNDARY_LINE_START)
            check(line[0] == whole and line[1:] == (0, length),
                  "%s %r: the line at the end is the whole text %r" % (where, box.name, line))
            run = text.getAttributeRun(0, False)
            check(tuple(run[1:]) == (0, length),
                  "%s %r: one formatting run over the whole text %r" % (where, box.name, run[1:]))


def main():
    app_path = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1")
    app = subprocess.Popen([app_path], env=env)
    try:
        return run(app)
    finally:
        app.terminate()
        try:
            app.wait(5)
        except subprocess.TimeoutExpired:
            app.kill()


def run(app):
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and child.name == "Kestrelon" and child.childCount:
                return child
        return None

    kestrelon = wait_for(application, 20)
    if not check(kestrelon is not None, "Kestrelon is on the accessibility bus"):
        return report()
    window = wait_for(lambda: descendants(kestrelon, named("Kestrelon V3.0")), 10)[0]
    descriptions = Listener("object:property-change:accessible-description")
    names = Listener("object:property-change:accessible-name")
    shown = Listener("object:state-changed:showing")

    # Text boxes: every boundary at every offset, the end included, answers in time.
    boxes = descendants(window, lambda o: o.getRole() == pyatspi.ROLE_TEXT)
    check(len(boxes) == 10, "ten text boxes in the main window (%d)" % len(boxes))
    led_supply = one(window, named("Chip 1 LED supply voltage"), "chip 1 LED supply box")
    before = led_supply.queryText().getText(0, -1)
    led_supply.queryEditableText().setTextContents("12.5")
    pump(0.3)
    text = led_supply.queryText()
    check(text.getText(0, -1) == "12.5", "a value is read whole")
    try:
        word = text.getTextAtOffset(4, pyatspi.TEXT_BOUNDARY_WORD_START)
    except Exception as error:  # a timeout is a hang
        word = error
    check(not isinstance(word, Exception) and word[0] == "12.5",
          "the word at the end of \"12.5\" is %r" % (word,))
    text_boxes_answer_every_boundary(window, boxes, "main window")
    led_supply.queryEditableText().setTextContents(before)

    # Sliders: a slider with the design value as value.
    sliders = descendants(window, lambda o: o.getRole() == pyatspi.ROLE_SLIDER)
    check(len(sliders) == 10, "ten sliders (%d)" % len(sliders))
    check(not descendants(window, lambda o: o.getRole() == pyatspi.ROLE_SCROLL_BAR),
          "no scroll bar role is left")
    r1 = one(window, slider("Chip 1 R1"), "chip 1 R1 slider")
    r1_value = r1.queryValue()
    check((r1_value.minimumValue, r1_value.maximumValue) == (50, 1100),
          "R1 runs from 50 to 1100 (%s, %s)" % (r1_value.minimumValue, r1_value.maximumValue))
    r1_value.currentValue = 700
    pump(0.3)
    check(r1_value.currentValue == 700, "R1 stands at 700")

    # One line per chip tells the lit LEDs.
    leds = one(window, lambda o: o.name.startswith("Chip 1 LEDs:"), "chip 1 LED summary")
    check(leds.getRole() == pyatspi.ROLE_LABEL, "the LED summary is a label")
    extents = leds.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(extents.width > 0 and extents.height > 0, "the LED summary has a place for flat review")
    before = leds.name

    # A keyboard step on R1 tells what it did, through the focused slider's description.
    check(r1.queryComponent().grabFocus(), "R1 takes the focus")
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Kestrelon V3.0$", "windowfocus"],
                   check=False, capture_output=True)
    pump(0.5)
    check(r1.getState().contains(pyatspi.STATE_FOCUSED), "R1 is focused")
    descriptions.clear()
    names.clear()
    shown.clear()
    key("Home")
    pump(1.0)
    # Qt tells the bus that the description changed; the description is then read afresh.
    check(r1_value.currentValue == 50, "Home moves R1 to 50 (%s)" % r1_value.currentValue)
    check(bool(descriptions.of(r1)), "the step changes the focused slider's description")
    announcement = r1.description
    # Orca presents a notification that shows; it speaks what the description says.
    notices = [e.source.name for e in shown.events if e.detail1
               and e.source.getRole() == pyatspi.ROLE_NOTIFICATION]
    check(notices == [announcement], "one notification tells it: %r" % notices)
    for part in ("R1 0.25 kΩ", "LED current 96.0 mA, over 25 mA", "limiting resistor needed",
                 "LEDs 1 to 7 lit"):
        check(part in announcement, "the step announces %r: %r" % (part, announcement))
    check(leds.name != before and "1 to 7 lit" in leds.name,
          "the LED summary follows: %r" % leds.name)
    check(any(e.source == leds for e in names.events), "the LED summary's change is signalled")
    # The current now blinks; blinking changes nothing that is announced.
    descriptions.clear()
    shown.clear()
    pump(1.2)
    check(not descriptions.of(r1) and not shown.events, "a blink announces nothing")
    key("Right")
    check(r1.description == "R1 0.26 kΩ; LED current 94.1 mA, over 25 mA",
          "a step that lights nothing new tells only what changed: %r" % r1.description)
    key("End")
    check(r1.description.startswith("R1 5.50 kΩ; LED current 5.3 mA")
          and "no limiting resistor needed" in r1.description,
          "results that changed back are told again: %r" % r1.description)

    # Names start with the caption a sighted user sees.
    for caption in ("0V", "Vext Lo", "Ref Inp", "+Vext Hi", "Bar/+V", "Dot/o.c"):
        options = descendants(window, lambda o, c=caption: o.getRole() == pyatspi.ROLE_RADIO_BUTTON
                              and o.name.startswith(c))
        check(len(options) == 2, "both chips' %r options are named by it first" % caption)
    slave = one(window, lambda o: o.getRole() == pyatspi.ROLE_CHECK_BOX, "slave check box")
    check(slave.name.startswith("Slave to #1"), "the check box is named by its caption first")

    # Each option group is the options' parent, named by its caption, holding only them.
    for option in descendants(window, lambda o: o.getRole() == pyatspi.ROLE_RADIO_BUTTON):
        group = option.parent
        members = [group.getChildAtIndex(i) for i in range(group.childCount)]
        labelled = [r.getTarget(0) for r in option.getRelationSet()
                    if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        check(group.getRole() == pyatspi.ROLE_PANEL and group.name
              and all(m.getRole() == pyatspi.ROLE_RADIO_BUTTON for m in members)
              and len(members) in (2, 5) and group in labelled,
              "%r is %d of %d in %r" % (option.name, option.getIndexInParent() + 1,
                                        len(members), group.name))

    # While chip 2 follows chip 1, its signal slider tells chip 1's signal and takes no value.
    signal1 = one(window, slider("Chip 1 signal"), "chip 1 signal slider")
    signal2 = one(window, slider("Chip 2 signal"), "chip 2 signal slider")
    signal1.queryValue().currentValue = 300
    signal2.queryValue().currentValue = 800
    slave.queryAction().doAction(0)
    pump(0.5)
    check(slave.getState().contains(pyatspi.STATE_CHECKED), "slave mode is on")
    check(signal2.queryValue().currentValue == 300, "chip 2's signal follows chip 1's (%s)"
          % signal2.queryValue().currentValue)
    check(signal2.getState().contains(pyatspi.STATE_READ_ONLY), "and cannot be set")
    signal2.queryValue().currentValue = 900
    pump(0.3)
    check(signal2.queryValue().currentValue == 300, "a value set through the bus is refused")
    chip1_signal = signal1.description.split(" V")[0] + " V"
    check(signal2.description.startswith(chip1_signal + ", following chip 1"),
          "its description tells chip 1's signal: %r / %r"
          % (signal2.description, signal1.description))
    slave.queryAction().doAction(0)
    pump(0.5)
    check(signal2.queryValue().currentValue == 800, "slave mode off: its own value again")

    # The context menu opens with its first item focused; Down reaches the target dialog's item,
    # whose boxes answer as the window's do.
    focused = Listener("object:state-changed:focused")
    r1.queryComponent().grabFocus()
    pump(0.3)
    focused.clear()
    key("shift+F10")
    check([e.source.name for e in focused.events if e.detail1] == ["Copy design as text"],
          "the context menu's first item takes the focus")
    for _ in range(20):
        now = [e.source.name for e in focused.events if e.detail1]
        if now and now[-1].startswith("Choose R1 and R2"):
            break
        key("Down")
        pump(0.2)
    key("Return")
    dialog_boxes = wait_for(lambda: [b for d in descendants(
        kestrelon, lambda o: o.getRole() == pyatspi.ROLE_DIALOG)
        for b in descendants(d, lambda o: o.getRole() == pyatspi.ROLE_TEXT)], 10) or []
    check(len(dialog_boxes) == 2, "the target dialog has two text boxes (%d)" % len(dialog_boxes))
    text_boxes_answer_every_boundary(window, dialog_boxes, "target dialog")
    key("Escape")

    # In dot mode the LED line names the one LED lit.
    one(window, lambda o: o.name.startswith("Dot/o.c, chip 1"), "chip 1 dot mode option") \
        .queryAction().doAction(0)
    pump(0.5)
    check(leds.name.startswith("Chip 1 LEDs: LED ") and " lit, red" in leds.name,
          "dot mode: %r" % leds.name)

    # The help window's notes answer too.
    help_item = one(window, lambda o: o.getRole() == pyatspi.ROLE_MENU_ITEM and o.name == "Help",
                    "Help menu item")
    help_item.queryAction().doAction(0)
    notes = wait_for(lambda: descendants(kestrelon, named("Usage notes")), 10) or []
    if check(len(notes) == 1, "the help window's notes are on the bus"):
        # Qt's own multi-line box: it must not hang; its lines are its own.
        text_boxes_answer_every_boundary(window, notes, "help window", whole_runs=False)
    return report()


if __name__ == "__main__":
    sys.exit(main())
