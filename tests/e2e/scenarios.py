"""What a person at the oracle does, and what they must see and hear.

Screen positions of the main window's stage are the stage's own pixels; the menu bar sits
above it inside the same X window.
"""

import fcntl
import os
import random
import resource
import socket
import threading
import time
import urllib.parse

import pyatspi

import accessibility as a11y
import remote
from audio import Reference
from check import eventually, expect
from polling import found, wait_until
from program import Program

STAGE_WIDTH, STAGE_HEIGHT = 792, 573
# On the face photo: below the wandering eye's reach and away from every hot spot.
RESTING_POINT = (700, 500)
# The windows the stage opens, by their titles.
CHILD_WINDOWS = ["The oracle's voice", "I Ching"]
DEFAULTS = ["[Quorvel]", "vozvoz= 2", "voztom= 65", "vozvel= 91", "idioma= 0"]

# The consultation window, in its own pixels.
STICK_TOP, STICK_STEP, STICK_HEIGHT = 80, 9, 15
BUNDLE_VISIBLE_X = 20
DROP_POINT = (70, 130)  # inside the square, left of the column where dropped sticks land


class Stage:
    def __init__(self, session, app_dir, out_dir, figures):
        self.session = session
        self.app_dir = app_dir
        self.out_dir = out_dir
        self.figures = figures
        self.desktop = session.desktop
        self.recording = session.recording
        self.startup_sound = Reference(os.path.join(app_dir, "SINISTER.wav"))
        self.programs = []

    # -- shared steps -----------------------------------------------------------------------

    def launch(self, settings=None, name="app", args=()):
        program = Program(self.session, self.app_dir, os.path.join(self.out_dir, name), settings,
                          args)
        self.programs.append(program)
        program.start()
        program.window = program.main_window()
        expect(program.window is not None, "the main window to be mapped within 30 s",
               "no window (process %s)" % ("alive" if program.alive() else
                                           "exited with %s" % program.proc.returncode))
        expect(program.accessible() is not None,
               "the program on the accessibility bus", "no application with its pid")
        self.rest_pointer(program)
        return program

    def stage_origin(self, program):
        """The stage stands in the middle of the window's area below its menu bar."""
        x, y, width, height = program.window_geometry(program.window)
        menu_bar = a11y.menu_bar_height(program.accessible())
        return (x + (width - STAGE_WIDTH) // 2,
                y + menu_bar + (height - menu_bar - STAGE_HEIGHT) // 2)

    def rest_pointer(self, program):
        x, y = self.stage_origin(program)
        self.desktop.focus(program.window)
        self.desktop.move(x + RESTING_POINT[0], y + RESTING_POINT[1])

    def settle(self, after, quiet=1.2, timeout=30):
        """Waits until the program has been silent for `quiet` seconds."""
        quiet_from = self.recording.wait_for_silence(after, quiet, timeout)
        expect(quiet_from is not None, "silence within %d s" % timeout,
               self.recording.describe(after, self.recording.now()))
        return quiet_from

    def settle_after_startup(self, program):
        # The start-up sound runs 5.5 s and the prompt overlaps it.
        self.recording.wait_for_time(program.started_at + 6.5)
        return self.settle(program.started_at + 1.0)

    def press_enter(self):
        mark = self.recording.now()
        self.desktop.key("Return")
        return mark

    def sound_after(self, mark, timeout=10):
        # Enter's own key click lasts 40 ms, too short to count as an onset.
        onset = self.recording.wait_for_sound(mark + 0.15, timeout)
        expect(onset is not None, "sound within %d s after Enter" % timeout,
               self.recording.describe(mark, self.recording.now()))
        return onset

    def box_reset(self, program, timeout):
        seen = eventually(program.text1, lambda text: text == " ", timeout)
        expect(seen == " ", "the petition box to hold one blank after the answer",
               repr(seen))

    def startup_sound_at(self, after, timeout=12):
        """When the start-up sound (played again after each answer) began."""
        def heard_long_enough():
            # locate() matches the sound's first 2 s: a match found sooner is not yet sure.
            at = self.recording.locate(self.startup_sound, after)
            return at if at is not None and self.recording.now() >= at + 2.2 else None

        at = wait_until(heard_long_enough, timeout, accept=found)
        expect(at is not None, "the start-up sound after %.2f s" % after,
               self.recording.describe(after, self.recording.now()))
        return at

    def expect_box_in_sight(self, program):
        """Neither the voice window nor the consultation over the petition box, and no notice
        from the desktop (a window announced as ready, or one asking for attention)."""
        over = a11y.covering(program.accessible(), program.petition_box(), CHILD_WINDOWS)
        if hasattr(self.desktop, "windows"):
            # Where the compositor really put the windows above the stage, which the program
            # may not know.
            x, y, width, height = self.desktop.window_geometry(program.window)
            windows = self.desktop.windows()
            stack = [str(w["id"]) for w in windows]
            above = windows[stack.index(str(program.window)) + 1:]
            over += [w["title"] for w in above
                     if w["rect"][0] < x + width and x < w["rect"][0] + w["rect"][2]
                     and w["rect"][1] < y + height and y < w["rect"][1] + w["rect"][3]]
        expect(not over, "nothing over the petition box", over)
        notices = self.desktop.notices() if hasattr(self.desktop, "notices") else []
        expect(not notices, "no notice from the desktop", notices)

    def other_windows(self, program):
        return [w for w in self.desktop.visible_windows(program.pid) if w != program.window]


# -- 1 ---------------------------------------------------------------------------------------

def first_start(stage):
    program = stage.launch(settings=None)
    title = program.window_title(program.window)
    expect(title.startswith("Quorvel,."), 'a window title starting with "Quorvel,."',
           repr(title))

    menus = a11y.menus(program.accessible())
    captions = [caption for caption, _ in menus]
    expect(captions == ["Arquivo", "Opções", "Ajuda"],
           "Portuguese menus Arquivo, Opções, Ajuda", captions)
    checked = [item for _, items in menus for item, mark in items if mark]
    expect(checked == ["Português"], 'one check mark, on "Português"', checked)
    frames = a11y.windows(program.accessible())
    expect(len(frames) == 1, "the main window alone (no calibration window)",
           [frame.name for frame in frames])
    box = program.petition_box()
    expect(box is not None and box.name == "Pergunta ao oráculo",
           'a text box heard as "Pergunta ao oráculo"', box and box.name)
    internal = a11y.internal_names(program.accessible())
    expect(not internal, "no widget heard by an internal name", internal)
    stage.figures.note("AT-SPI accessible id of the petition box", repr(a11y.accessible_id(box)))

    recording = stage.recording
    recording.wait_for_time(program.started_at + 10)
    sound = recording.locate(stage.startup_sound, program.started_at, program.started_at + 4)
    expect(sound is not None and sound - program.started_at < 2.0,
           "the start-up sound within 2 s of the start",
           recording.describe(program.started_at, recording.now()))
    early = recording.audible_besides(stage.startup_sound, sound, sound + 0.3, sound + 2.5)
    expect(early < 0.2, "nothing but the start-up sound in its first 2.5 s",
           "%.2f s of other sound" % early)
    prompt = recording.besides(stage.startup_sound, sound, sound + 2.5, sound + 10)
    spoken = sum(end - start for start, end in prompt)
    expect(prompt and 2.8 <= prompt[0][0] - sound <= 6.0 and spoken >= 0.4,
           "the prompt heard over the start-up sound from about 3 s after it began",
           "other sound at %s (start-up sound began at %.2f)" % (prompt, sound))
    stage.figures.note("start-up sound after launch", sound - program.started_at, "s")
    stage.figures.note("prompt heard after the start-up sound began", prompt[0][0] - sound, "s")
    expect(program.text1() == "", "an empty petition box", repr(program.text1()))


# -- 2 ---------------------------------------------------------------------------------------

def trick(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    question = "qual a cor do ceu"

    stage.desktop.type(",sim.")
    shown = eventually(program.text1, lambda text: text == "Respo", 3)
    expect(shown == "Respo", 'the box to show "Respo" after ",sim."', repr(shown))
    stage.desktop.type(question)
    shown = eventually(program.text1, lambda text: text == "Respo" + question, 3)
    expect(shown == "Respo" + question, repr("Respo" + question), repr(shown))

    cpu_before = program.cpu_seconds()
    mark = stage.press_enter()
    waiting, gap = hidden_answer_delivered(stage, program, mark)
    stage.figures.note("Enter to waiting phrase", waiting - mark, "s")
    stage.figures.note("CPU from Enter to the start-up sound after the answer (waits and orb)",
                       100.0 * (program.cpu_seconds() - cpu_before)
                       / (stage.recording.now() - mark), "%")
    stage.figures.note("silence between waiting phrase and answer", gap, "s")
    stage.expect_box_in_sight(program)


def hidden_answer_delivered(stage, program, mark):
    """A hidden answer's road after Enter: waiting phrase, silence while the orb pulses and the
    pause runs, the answer, the start-up sound, the box reset. (waiting phrase, silence)"""
    waiting = stage.sound_after(mark)
    expect(waiting - mark < 2.0, "the waiting phrase right after Enter",
           "first sound %.2f s after Enter" % (waiting - mark))
    stage.box_reset(program, timeout=45)
    again = stage.startup_sound_at(waiting + 3.0)
    runs = stage.recording.segments(waiting, again + 0.5)
    described = stage.recording.describe(mark, again + 0.5)
    expect(len(runs) >= 2, "the waiting phrase, silence, then the answer", described)
    gap = max(b[0] - a[1] for a, b in zip(runs, runs[1:]))
    expect(gap >= 3.5, "at least 3.5 s of silence (orb and pause) before the answer",
           "%.2f s: %s" % (gap, described))
    answer = runs[-1][0]
    expect(again - answer >= 0.2, "the answer spoken before the start-up sound plays again",
           "sound from %.2f, start-up sound at %.2f" % (answer, again))
    return waiting, gap


# -- 3 ---------------------------------------------------------------------------------------

def refusal_and_quick_question(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    idle_cpu = cpu_percent(program, 2.0)
    stage.figures.note("CPU while idle", idle_cpu, "%")

    mark = stage.press_enter()
    refusal = stage.sound_after(mark)
    expect(0.35 <= refusal - mark <= 1.6, "a refusal about half a second after Enter",
           "first sound %.2f s after Enter" % (refusal - mark))
    stage.box_reset(program, timeout=30)
    again = stage.startup_sound_at(refusal)
    expect(again - refusal < 8.0 and no_long_gap(stage, refusal, again),
           "the refusal straight away, no waiting phrase and no orb",
           stage.recording.describe(mark, again))
    stage.figures.note("Enter to refusal", refusal - mark, "s")
    stage.settle(again + stage.startup_sound.duration - 0.5)

    stage.desktop.type(",sim.voce sabe")
    shown = eventually(program.text1, lambda text: text.endswith("voce sabe"), 3)
    expect(shown.endswith("voce sabe"), "the question shown as typed", repr(shown))
    cpu_before = program.cpu_seconds()
    mark = stage.press_enter()
    answer = stage.sound_after(mark)
    expect(0.35 <= answer - mark <= 1.6, "the answer about half a second after Enter",
           "first sound %.2f s after Enter" % (answer - mark))
    stage.box_reset(program, timeout=30)
    again = stage.startup_sound_at(answer)
    expect(0.2 <= again - answer < 3.0 and no_long_gap(stage, answer, again),
           "the answer without waiting phrase, then the start-up sound",
           stage.recording.describe(mark, again + 1))
    wall = stage.recording.now() - mark
    stage.figures.note("Enter to answer of a quick question", answer - mark, "s")
    stage.figures.note("CPU from Enter to the end of the answer",
                       100.0 * (program.cpu_seconds() - cpu_before) / wall, "%")


def no_long_gap(stage, start, end, longest=2.0):
    runs = stage.recording.segments(start, end + 0.1)
    return all(b[0] - a[1] < longest for a, b in zip(runs, runs[1:]))


def cpu_percent(program, seconds):
    before = program.cpu_seconds()
    time.sleep(seconds)
    return 100.0 * (program.cpu_seconds() - before) / seconds


# -- 4 ---------------------------------------------------------------------------------------

def language_menu(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    app = program.accessible()
    german = a11y.menu_item(app, "Deutsch")
    expect(german is not None, 'a menu item "Deutsch"', "none")
    a11y.act(german)

    expected = ["Datei", "Optionen", "Hilfe"]
    menus = eventually(lambda: a11y.menus(app),
                       lambda seen: [caption for caption, _ in seen] == expected, 10)
    expect([caption for caption, _ in menus] == expected, "German menus %s" % expected,
           [caption for caption, _ in menus])
    items = {caption: [item for item, _ in entries] for caption, entries in menus}
    expect("Beenden" in items["Datei"] and "Stimme ändern" in items["Optionen"]
           and "Über" in items["Hilfe"], '"Beenden", "Stimme ändern" and "Über"', items)
    checked = [item for _, entries in menus for item, mark in entries if mark]
    expect(checked == ["Deutsch"], 'one check mark, on "Deutsch"', checked)

    voice = eventually(lambda: a11y.window(app, "Die Stimme des Orakels"), bool, 15)
    expect(voice is not None, 'the voice window open, titled "Die Stimme des Orakels"',
           [frame.name for frame in a11y.windows(app)])
    buttons = a11y.buttons(voice)
    expect(buttons == ["Falar", "Aplicar", "Sair"], 'buttons heard as "Falar", "Aplicar", "Sair"',
           buttons)
    expect(a11y.text_box(voice, "Probesatz") is not None,
           'a text box heard as "Probesatz"', a11y.text_boxes(voice))
    box = eventually(program.petition_box, lambda b: b and b.name == "Frage an das Orakel", 5)
    expect(box is not None and box.name == "Frage an das Orakel",
           'the petition box heard as "Frage an das Orakel"', box and box.name)
    internal = a11y.internal_names(app)
    expect(not internal, "no widget heard by an internal name", internal)

    # The operator's next keys, perhaps a hidden answer, belong to the petition box, not to the
    # voice window that the language command opened over the stage. A window manager may keep
    # the new window active whatever the program asks (sway does): the keys must land in the
    # box all the same.
    if not stage.desktop.activates_new_windows:
        focused = eventually(lambda: a11y.focused(program.petition_box()), bool, 5)
        expect(focused, "the petition box focused after the language command", "not focused")
    before = a11y.snapshot(voice)
    stage.desktop.type(",sim.")
    typed = eventually(program.text1, lambda text: text == "Antwo", 5)
    expect(typed == "Antwo", "the keys hidden in the petition box behind the German petition",
           repr(typed))
    after = a11y.snapshot(voice)
    expect(after == before, "no key in the voice window (its choice and trial sentence as they were)",
           [seen for seen in after if seen not in before])
    stage.expect_box_in_sight(program)


# -- 5 ---------------------------------------------------------------------------------------

def leaving(stage):
    # Through the exit keyword: the farewell is heard, then the program ends by itself.
    program = stage.launch(settings="[Quorvel]\nvozvoz=2\nvoztom=70\nvozvel=120\nidioma=1\n",
                           name="keyword")
    stage.settle_after_startup(program)
    stage.desktop.type("exit")
    mark = stage.press_enter()
    farewell = stage.sound_after(mark)
    ended = wait_for_end(stage, program, 40)
    expect(ended is not None, "the program to end by itself after the farewell",
           "still running 40 s after Enter")
    farewell_end = stage.recording.segments(farewell, ended + 0.3)[-1][1]
    expect(farewell_end - farewell >= 1.0 and ended >= farewell_end - 0.3,
           "a farewell of a second or more, then the end of the program",
           "sound %.2f-%.2f, program ended at %.2f" % (farewell, farewell_end, ended))
    expect(program.proc.returncode == 0, "exit status 0", program.proc.returncode)
    lines = program.settings_lines()
    expect(lines == ["[Quorvel]", "vozvoz= 2", "voztom= 70", "vozvel= 120", "idioma= 1"],
           "the run's values in five lines", lines)
    stage.figures.note("farewell length", farewell_end - farewell, "s")

    # Through the window system: no farewell, the settings still written.
    program = stage.launch(settings=None, name="close")
    stage.settle_after_startup(program)
    mark = stage.recording.now()
    stage.desktop.close_window(program.window)
    ended = wait_for_end(stage, program, 10)
    expect(ended is not None, "the program to end when its window is closed",
           "still running 10 s later")
    heard = stage.recording.audible(mark + 0.15, ended + 0.3)
    expect(heard < 0.1, "no farewell", "%.2f s of sound before the end" % heard)
    expect(os.path.exists(program.settings_path), "oraculo.ini written", "no file")
    lines = program.settings_lines()
    expect(lines == DEFAULTS, "the default values in five lines", lines)
    stage.figures.note("close request to end of process", ended - mark, "s")


def wait_for_end(stage, program, timeout):
    """When the program ended, on the recording's clock; None if it still runs."""
    if not wait_until(lambda: not program.alive(), timeout, interval=0.05):
        return None
    return stage.recording.now()


# -- 6 ---------------------------------------------------------------------------------------

def consultation(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    stage.desktop.type("conselho")
    mark = stage.press_enter()

    windows = eventually(lambda: stage.other_windows(program), bool, 20)
    expect(len(windows) == 1, "a second top-level window", windows)
    form2 = windows[0]
    opening = stage.sound_after(mark)
    stage.settle(opening, timeout=40)
    fx, fy, width, height = program.window_geometry(form2)
    expect((width, height) == (635, 217), "a consultation window of 635 x 217",
           (width, height))
    name_box, text_box = consultation_boxes(program)

    for k in range(11, 5, -1):
        stick = (fx + BUNDLE_VISIBLE_X, fy + STICK_TOP + STICK_STEP * k + STICK_HEIGHT - 4)
        stage.desktop.drag(stick, (fx + DROP_POINT[0], fy + DROP_POINT[1]))
        time.sleep(0.3)

    name = eventually(lambda: a11y.text(name_box), bool, 30)
    expect(name != "", "a hexagram name in the name box", repr(name))
    shown, heard = follow_reading(stage, text_box)
    expect(len(shown) >= 3, "the text growing word by word (three or more steps)", shown)
    expect(all(b.startswith(a) and len(b) > len(a) for a, b in zip(shown, shown[1:])),
           "each step extending the one before", shown)
    expect(heard >= 1.0, "the text spoken while it is shown", "%.2f s of sound" % heard)
    stage.figures.note("hexagram", name)
    stage.figures.note("display steps seen", len(shown))

    stage.desktop.focus(form2)
    stage.desktop.key("Escape")
    closed = eventually(lambda: stage.other_windows(program), lambda w: not w, 30)
    expect(not closed, "the consultation window closed after Esc", closed)
    focused = eventually(lambda: a11y.focused(program.petition_box()), bool, 5)
    expect(focused, "the petition box focused again", "not focused")
    stage.desktop.type("x")
    typed = eventually(program.text1, lambda text: text == "x", 3)
    expect(typed == "x", "a key typed now to land in the empty petition box", repr(typed))


def consultation_in_sight(stage):
    """The consultation takes the keyboard as it opens (Esc reaches it, unhelped), leaves the
    petition box in sight, and gives the keyboard back to the box when it goes."""
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    stage.desktop.type("conselho")
    mark = stage.press_enter()
    window = eventually(lambda: a11y.window(program.accessible(), "I Ching"), bool, 20)
    expect(window is not None, 'the consultation open, titled "I Ching"', "not open")
    stage.settle(stage.sound_after(mark), timeout=40)
    stage.expect_box_in_sight(program)
    stage.desktop.key("Escape")
    open_still = eventually(lambda: a11y.window(program.accessible(), "I Ching"),
                            lambda w: w is None, 30)
    expect(open_still is None, "the consultation closed by Esc", "still open")
    focused = eventually(lambda: a11y.focused(program.petition_box()), bool, 5)
    expect(focused, "the petition box focused again", "not focused")
    stage.desktop.type("x")
    typed = eventually(program.text1, lambda text: text == "x", 3)
    expect(typed == "x", "a key typed now to land in the empty petition box", repr(typed))


def consultation_boxes(program):
    window = a11y.window(program.accessible(), "I Ching")
    expect(window is not None, 'a window titled "I Ching"',
           [frame.name for frame in a11y.windows(program.accessible())])
    name_box = a11y.text_box(window, "Nome do hexagrama")
    text_box = a11y.text_box(window, "Conselho do oráculo")
    expect(name_box is not None and text_box is not None,
           'text boxes heard as "Nome do hexagrama" and "Conselho do oráculo"',
           [box.name for boxes in a11y.text_boxes(window) for box in boxes])
    sticks = set(a11y.captions(window, pyatspi.ROLE_IMAGE))
    expect(sticks == {"Pauzinho"}, 'every stick heard as "Pauzinho"', sticks)
    internal = a11y.internal_names(window)
    expect(not internal, "no widget heard by an internal name", internal)
    return name_box, text_box


def follow_reading(stage, text_box, quiet=3.0, timeout=90):
    """Snapshots of the text box while the reading goes on, and seconds of sound meanwhile."""
    shown = []
    first_change = last_change = None

    def finished():
        nonlocal first_change, last_change
        text = a11y.text(text_box)
        now = stage.recording.now()
        if text and (not shown or text != shown[-1]):
            shown.append(text)
            first_change = first_change or now
            last_change = now
            return False
        return bool(last_change) and now - last_change > quiet

    wait_until(finished, timeout, interval=0.1)
    heard = stage.recording.audible(first_change, last_change) if shown else 0.0
    return shown, heard


# -- 7 ---------------------------------------------------------------------------------------

def abuse(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    rss_start = program.rss_kib()
    stage.desktop.type(",zebra.vai chover")
    mark = stage.press_enter()
    stage.sound_after(mark)

    # No z, so the box can show "zebra" only by leaking the hidden answer; no x, so the exit
    # keyword cannot come up by chance.
    # F11 among them: the stage goes in and out of full screen while it speaks, and the window
    # is resized between bursts, the stage rescaled each time.
    keys = [c for c in "abcdefghijklmnopqrstuvwy0123456789"] + ["space", "comma", "period",
                                                                 "BackSpace", "Return", "F11"]
    draw = random.Random(1234)
    seen, slowest, rss_peak = [], 0.0, rss_start
    flood_start = stage.recording.now()
    for _ in range(8):
        burst = [draw.choice(keys) if draw.random() > 0.06 else "Return" for _ in range(40)]
        stage.desktop.key(*burst, delay_ms=15)
        stage.desktop.xdotool("windowsize", program.window, draw.randrange(300, 1280),
                              draw.randrange(200, 1024))
        slowest = max(slowest, timed(lambda: seen.append(program.text1())))
        rss_peak = max(rss_peak, program.rss_kib())
        expect(program.alive(), "the program alive under a flood of keys", "it ended")
    flood_end = stage.recording.now()
    heard = stage.recording.audible(flood_start, flood_end)
    expect(heard >= 0.5, "the flood typed while the oracle speaks",
           stage.recording.describe(flood_start, flood_end))

    time.sleep(5)
    slowest = max(slowest, timed(lambda: seen.append(program.text1())))
    expect(program.alive(), "the program alive after the flood", "it ended")
    expect(slowest < 10.0, "every accessibility query answered within 10 s",
           "slowest %.1f s" % slowest)
    leaked = [text for text in seen if "zebra" in text.lower()]
    expect(not leaked, "the hidden answer never shown", leaked)
    rss_end = program.rss_kib()
    rss_peak = max(rss_peak, rss_end)
    expect(rss_peak - rss_start < 100 * 1024, "memory growth under 100 MiB",
           "%d KiB at start, %d KiB at peak" % (rss_start, rss_peak))
    stage.figures.note("RSS before / peak / 5 s after the flood",
                       "%d / %d / %d KiB" % (rss_start, rss_peak, rss_end))
    stage.figures.note("slowest accessibility answer during the flood", slowest, "s")
    stage.figures.note("sound during the flood", heard, "s")


def timed(action):
    asked = time.monotonic()
    action()
    return time.monotonic() - asked


# -- 8 ---------------------------------------------------------------------------------------

REMOTE_ARGS = ["--remote", "--remote-port", "0"]  # any free port: runs may overlap


def launch_remote(stage):
    program = stage.launch(settings=None, name="remote", args=REMOTE_ARGS)
    page = remote.address(stage.session)
    expect(page is not None and "/?t=" in page,
           'a line "remote: <address with token>" on standard output', page)
    port = int(urllib.parse.urlsplit(page).port)
    expect(port in remote.listening_ports(program.pid), "the program listening on port %d" % port,
           remote.listening_ports(program.pid))
    stage.settle_after_startup(program)
    return program, page


def watch_box_until_reset(program, hidden, timeout=45):
    """Reads the petition box all through a delivery, until it holds one blank again."""
    seen = []

    def reset():
        seen.append(program.text1())
        return seen[-1] == " "

    wait_until(reset, timeout, interval=0.1)
    leaked = [text for text in seen if hidden.lower() in text.lower()]
    expect(not leaked, "the hidden answer never shown in the box", leaked)


RELOADS = 30


def remote_browser(stage):
    program, page = launch_remote(stage)
    browser = remote.Browser(stage.session, os.path.join(stage.out_dir, "browser"))
    try:
        browser.open(page)
        remote.status_reaches(browser, "nenhuma resposta armada", 10)
        browser.screenshot(os.path.join(stage.out_dir, "page.png"))
        sent = stage.recording.now()
        browser.type_into("#answer", "zebra listrada")
        browser.click("#send")
        remote.status_reaches(browser, "armada", 10)
        stage.figures.note("send clicked to \"armada\" shown", stage.recording.now() - sent, "s")

        question = "vai chover amanha"
        stage.rest_pointer(program)
        stage.desktop.type(question)
        shown = eventually(program.text1, lambda text: text == question, 3)
        expect(shown == question, "the guest's question shown as typed", repr(shown))
        mark = stage.press_enter()
        watch_box_until_reset(program, "zebra")
        _, gap = hidden_answer_delivered(stage, program, mark)
        remote.status_reaches(browser, "falada", 10)
        browser.screenshot(os.path.join(stage.out_dir, "page-spoken.png"))
        stage.figures.note("silence between waiting phrase and remote answer", gap, "s")

        # A phone reloads the page, sleeps and wakes many times in a show: each time the page
        # is served and its push channel opens again (well within the server's rate limit).
        reloaded = stage.recording.now()
        for _ in range(RELOADS):
            browser.open(page)
            remote.status_reaches(browser, "falada", 10)
            time.sleep(0.3)
        stage.figures.note("%d reloads of the page, each served" % RELOADS,
                           stage.recording.now() - reloaded, "s")
    finally:
        browser.close()
    expect("zebra" not in remote.program_output(stage.session),
           "the answer never in the program's output", "it was")


def remote_http(stage):
    plain = stage.launch(settings=None, name="plain")
    stage.settle_after_startup(plain)
    ports = remote.listening_ports(plain.pid)
    expect(ports == [], "nothing listening without --remote", ports)
    plain.stop()

    program, page = launch_remote(stage)
    answer_url = remote.with_token(page, "/answer")
    status_url = remote.with_token(page, "/status")
    cases = [
        ("no token", remote.with_token(page, "/status", ""), None, 403),
        ("a wrong token", remote.with_token(page, "/answer", "0" * 32), b"sim", 403),
        ("an unknown path", remote.with_token(page, "/favicon.ico"), None, 404),
        ("a body over 4 KiB", answer_url, b"a" * 5000, 413),
        ("invalid UTF-8", answer_url, b"n\xe3o", 400),
        ("201 characters", answer_url, "é".encode() * 201, 400),
    ]
    for what, url, body, wanted in cases:
        status, _ = remote.request(url, body)
        expect(status == wanted, "%s answered %d" % (what, wanted), status)
    time.sleep(1.1)
    status, reply = remote.request(status_url)
    expect((status, reply) == (200, b'{"state":"idle"}'), "still idle after the refusals",
           (status, reply))

    flood = [remote.request(status_url)[0] for _ in range(60)]
    expect(429 in flood and set(flood) <= {200, 429}, "a flood limited with 429",
           sorted(set(flood)))
    stage.figures.note("flood of 60: answered / limited",
                       "%d / %d" % (flood.count(200), flood.count(429)))
    time.sleep(1.1)

    status, reply = remote.request(answer_url, "Amanhã, às três".encode())
    expect((status, reply) == (200, b'{"state":"armed"}'), "the answer armed", (status, reply))
    stage.rest_pointer(program)
    stage.desktop.type("vai chover")
    mark = stage.press_enter()
    watch_box_until_reset(program, "Amanhã")
    _, gap = hidden_answer_delivered(stage, program, mark)
    stage.figures.note("silence between waiting phrase and remote answer", gap, "s")
    status, reply = remote.request(status_url)
    expect(reply == b'{"state":"spoken"}', "the state spoken after the delivery", reply)
    expect(program.alive(), "the oracle still running", "it ended")
    expect("Amanh" not in remote.program_output(stage.session),
           "the answer never in the program's output", "it was")

    # The operator window closed, then reopened from the petition box in the middle of a
    # capture: the shortcut is no key of the trick, so no petition character is revealed.
    shown = eventually(lambda: stage.other_windows(program), bool, 5)
    expect(len(shown) == 1, "the operator window beside the stage", shown)
    stage.desktop.close_window(shown[0])
    closed = eventually(lambda: stage.other_windows(program), lambda w: not w, 10)
    expect(not closed, "the operator window closed", closed)
    stage.rest_pointer(program)
    stage.desktop.type(",")
    box = eventually(program.text1, lambda text: text == "R", 3)
    expect(box == "R", 'capture started ("R" shown)', repr(box))
    stage.desktop.key("ctrl+shift+r")
    reopened = eventually(lambda: stage.other_windows(program), bool, 10)
    expect(len(reopened) == 1, "Ctrl+Shift+R to reopen the operator window", reopened)
    time.sleep(0.5)
    expect(program.text1() == "R", "the petition box untouched by the shortcut",
           repr(program.text1()))


# -- 9 ---------------------------------------------------------------------------------------

def open_peek(stage, page):
    """The performer's page on a phone-sized headless Chromium, counting its buzzes."""
    browser = remote.Browser(stage.session, os.path.join(stage.out_dir, "browser"))
    browser.open(page)
    remote.status_reaches(browser, "nenhuma resposta armada", 10)
    browser.script("window.buzzes = 0;"
                   "navigator.vibrate = () => { window.buzzes += 1; return true; };")
    return browser


def page_shows(browser, wanted, timeout=3.0):
    seen = eventually(lambda: browser.text("#shown"),
                      lambda text: text.strip() == wanted.strip(), timeout)
    expect(seen.strip() == wanted.strip(), "the page showing %r" % wanted, repr(seen))


def page_marks_asked(browser):
    asked = eventually(lambda: browser.script(
        "return document.getElementById('shown').classList.contains('asked');"), bool, 5)
    expect(asked, "the question marked as asked on the page", "not marked")
    buzzes = browser.script("return window.buzzes;")
    expect(buzzes == 1, "one short buzz when the question is asked", buzzes)


def remote_peek(stage):
    program, page = launch_remote(stage)
    browser = open_peek(stage, page)
    try:
        stage.rest_pointer(program)
        # Typed with a slip and its correction: the page follows Backspace too.
        stage.desktop.type("vai chovx")
        page_shows(browser, program.text1())
        stage.desktop.key("BackSpace")
        stage.desktop.type("er amanha")
        question = "vai chover amanha"
        shown = eventually(program.text1, lambda text: text == question, 3)
        expect(shown == question, "the guest's question shown as typed", repr(shown))
        page_shows(browser, question)

        mark = stage.press_enter()
        page_marks_asked(browser)
        remote.status_reaches(browser, "esperando", 20)
        browser.screenshot(os.path.join(stage.out_dir, "page-waiting.png"))
        waited = stage.recording.now()
        browser.click('#ready button[data-answer="Talvez"]')
        _, gap = hidden_answer_delivered(stage, program, mark)
        stage.figures.note("silence between waiting phrase and the phone's answer", gap, "s")
        stage.figures.note("Enter to the page showing the wait (phrase and orb)", waited - mark,
                           "s")
        remote.status_reaches(browser, "falada", 10)
        page_shows(browser, "")
    finally:
        browser.close()
    output = remote.program_output(stage.session)
    for private in ("chover", "Talvez"):
        expect(private not in output, "%r never in the program's output" % private, "it was")


def remote_wait(stage):
    program, page = launch_remote(stage)
    browser = open_peek(stage, page)
    try:
        stage.rest_pointer(program)
        question = "quem ganha o jogo"
        stage.desktop.type(question)
        page_shows(browser, question)
        mark = stage.press_enter()
        waiting = stage.sound_after(mark)
        remote.status_reaches(browser, "esperando", 20)

        # The phone's connection drops while the oracle waits: the page comes back by itself
        # and shows the question and the state again; the oracle waits on.
        browser.script("document.getElementById('shown').textContent = '';"
                       "document.getElementById('status').textContent = '';"
                       "socket.close();")
        back = eventually(lambda: browser.script("return socket.readyState;"),
                          lambda state: state == 1, 10)
        expect(back == 1, "the page connected again by itself", back)
        page_shows(browser, question)
        remote.status_reaches(browser, "esperando", 5)

        # No answer: a refusal once the 30 s have run out, and nothing before.
        quiet = stage.settle(waiting)
        refusal = stage.recording.wait_for_sound(quiet, 60)
        expect(refusal is not None, "a refusal after the wait",
               stage.recording.describe(mark, stage.recording.now()))
        # The waiting phrase and the orb (up to five pulses of 3 s, longer on a busy machine)
        # come before the 30 s.
        expect(30.5 <= refusal - mark <= 70.0, "the refusal 30 s after the wait began",
               "%.2f s after Enter" % (refusal - mark))
        stage.figures.note("Enter to the refusal of an unanswered question", refusal - mark, "s")
        stage.box_reset(program, timeout=30)
        remote.status_reaches(browser, "nenhuma resposta armada", 10)

        # An answer sent too late waits for the next question, which is answered at once.
        status, _ = remote.request(remote.with_token(page, "/answer"), "Sim".encode())
        expect(status == 200, "a late answer armed", status)
        stage.settle(stage.recording.now())
        stage.desktop.type("e agora")
        mark = stage.press_enter()
        hidden_answer_delivered(stage, program, mark)
    finally:
        browser.close()
    expect(program.alive(), "the oracle still running", "it ended")


def flood_remote(port, seconds):
    """What any program or web page on the laptop could do to the server without the token:
    five 200 MB answers announced and sent as fast as they go, and 1050 connections that
    never say a word. Returns the silent connections, left open."""
    def huge_body():
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
                s.sendall(b"POST /answer HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                          b"Content-Length: 209715200\r\n\r\n")
                end = time.monotonic() + seconds
                while time.monotonic() < end:
                    s.send(b"a" * 65536)
        except OSError:
            pass

    senders = [threading.Thread(target=huge_body, daemon=True) for _ in range(5)]
    for sender in senders:
        sender.start()
    silent = []
    for _ in range(1050):
        quiet = socket.socket()
        quiet.setblocking(False)
        quiet.connect_ex(("127.0.0.1", port))
        # Kept above the numbers select() can watch, where the test's own connections to the
        # display, made while these are open, would otherwise land.
        high = fcntl.fcntl(quiet.fileno(), fcntl.F_DUPFD, 1024)
        quiet.close()
        silent.append(socket.socket(fileno=high))
    for sender in senders:
        sender.join(seconds + 5)
    return silent


def remote_abuse_close(stage):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, 8192), hard))
    program, page = launch_remote(stage)
    port = int(urllib.parse.urlsplit(page).port)
    idle = program.rss_kib()
    peak = [idle]

    def sample():
        while program.alive() and len(peak) < 100:
            peak.append(program.rss_kib())
            time.sleep(0.1)

    sampler = threading.Thread(target=sample, daemon=True)
    sampler.start()
    silent = flood_remote(port, 4.0)
    status, _ = remote.request(remote.with_token(page, "/status"))
    expect(status == 200, "the phone still served during the flood", status)
    growth = (max(peak) - idle) / 1024.0
    expect(growth < 10.0, "the oracle's memory within 10 MB of idle under the flood",
           "%.1f MB more" % growth)
    stage.figures.note("memory growth under the flood", growth, "MB")

    # Closing the oracle with all of that still open writes its settings.
    mark = stage.recording.now()
    stage.desktop.close_window(program.window)
    ended = wait_for_end(stage, program, 10)
    for quiet in silent:
        quiet.close()
    expect(ended is not None, "the program to end when its window is closed",
           "still running 10 s later")
    expect(os.path.exists(program.settings_path), "oraculo.ini written", "no file")
    expect(program.settings_lines() == DEFAULTS, "the default values in five lines",
           program.settings_lines())
    expect("could not be saved" not in remote.program_output(stage.session),
           "no failed save reported", "it was")
    stage.figures.note("close request to end of process, flooded", ended - mark, "s")
# The face's mouth in the stage's pixels: the face photo lies one pixel inside Picture1, at
# (352, 256), and the mouth 171 by 203 pixels into the photo.
MOUTH = (524, 460, 108, 48)
EYES_HOT_SPOT = (308, 544)  # Label2: "Estes olhos..."


def speaking_face(stage):
    program = stage.launch(settings=None)
    stage.settle_after_startup(program)
    x, y = stage.stage_origin(program)

    def mouth():
        return stage.desktop.grab(x + MOUTH[0], y + MOUTH[1], MOUTH[2], MOUTH[3])

    rest = mouth()
    time.sleep(1.0)
    expect(mouth() == rest, "the mouth still while the oracle is silent", "it changed")
    mark = stage.recording.now()
    stage.desktop.move(x + EYES_HOT_SPOT[0], y + EYES_HOT_SPOT[1])
    # Watched from the moment the pointer arrives, so the first move is seen when it happens.
    first_moved = eventually(lambda: stage.recording.now() if mouth() != rest else None, bool,
                             10, interval=0.005)
    onset = stage.recording.wait_for_sound(mark, 10)
    expect(onset is not None and first_moved is not None,
           "the eyes' phrase heard, and the mouth moving, within 10 s of the pointer reaching them",
           stage.recording.describe(mark, stage.recording.now()))
    shapes = set()
    while stage.recording.now() < onset + 2.5:
        seen = mouth()
        if seen != rest:
            shapes.add(seen)
        time.sleep(0.01)
    expect(len(shapes) >= 3, "the mouth moving through at least 3 shapes while it speaks",
           "%d shapes besides rest" % len(shapes))
    rested = eventually(lambda: stage.recording.now() if mouth() == rest else None, bool, 15,
                        interval=0.01)
    quiet = stage.settle(onset)
    time.sleep(0.3)
    expect(mouth() == rest, "the mouth at rest again in silence",
           "the mouth differs from rest %.2f s after the sound ended"
           % (stage.recording.now() - quiet))
    stage.figures.note("mouth shapes seen in the first 2.5 s of a phrase", len(shapes))
    stage.figures.note("phrase first heard to the mouth's first move", first_moved - onset, "s")
    stage.figures.note("phrase last heard to the mouth at rest", rested - quiet, "s")


# Where the art is looked at closely, in stage pixels, and the detail it shows there at least:
# the face on the photograph, clear of the eye's jumps, the mouth and every hot spot; the
# reaper's hood, which blown up smoothly from its stage pixels shows about 2 at 4K.
ART_DETAILS = {"face": ((500, 380, 120, 60), 4.0), "reaper": ((490, 30, 60, 100), 2.5)}


def finer_than_stage_pixels(pixels, width, origin, density):
    """How much the screen's pixels vary within one stage pixel, along each row: the mean
    range of green (0..255) over the screen pixels wholly inside one. 0 for art that is
    blown up pixel by pixel; a little for art scaled up smoothly; more where the art is drawn
    finer than the stage's pixels."""
    rows = [pixels[y * width * 4:(y + 1) * width * 4][1::4]
            for y in range(len(pixels) // (width * 4))]
    ranges = []
    for row in rows:
        column = int(-origin / density) + 1
        while origin + (column + 1) * density <= width:
            inside = row[int(origin + column * density + 0.999):int(origin + (column + 1) * density)]
            if len(inside) >= 2:
                ranges.append(max(inside) - min(inside))
            column += 1
    return sum(ranges) / len(ranges)


def full_screen(stage):
    """The stage in full screen fills the screen's height, with the face and the animations drawn
    finer than the stage's own pixels, and the trick goes on with F11 pressed in the middle of a
    capture. With two screens the stage is put on the second, the TV, with the phone's pairing
    window on the laptop; the TV is unplugged during the capture: the stage goes on in full
    screen on the screen that is left, where the consultation opens at the stage's scale."""
    monitors = stage.session.monitors
    tv, laptop = monitors[-1], monitors[0]
    remote = tuple(REMOTE_ARGS) if len(monitors) > 1 else ()
    program = stage.launch(settings=None,
                           args=("--fullscreen", "--screen", str(len(monitors))) + remote)
    full = eventually(lambda: program.window_geometry(program.window), lambda g: g == tv, 5)
    expect(full == tv, "the window over the whole %dx%d screen at %d,%d" % (tv[2:] + tv[:2]),
           repr(full))
    pairing = stage.other_windows(program)
    if remote:
        where = [program.window_geometry(w) for w in pairing]
        expect(len(where) == 1 and where[0][0] + where[0][2] <= laptop[2],
               "the pairing window on the laptop, out of the audience's sight", where)
    stage.settle_after_startup(program)
    # Screen pixels per stage pixel, and where the stage begins, as the stage fills the height.
    density = min(tv[2] / STAGE_WIDTH, tv[3] / STAGE_HEIGHT)
    left = tv[0] + (tv[2] - round(STAGE_WIDTH * density)) // 2
    stage.session.screenshot(os.path.join(stage.out_dir, "full-screen.png"))
    for art, (area, least) in ART_DETAILS.items():
        x, y, w, h = (round(v * density) for v in area)
        detail = finer_than_stage_pixels(stage.desktop.grab(left + x, y, w, h), w, -x, density)
        stage.figures.note("%s detail within one stage pixel (range of green)" % art, detail)
        expect(detail >= least, "the %s drawn finer than the stage's pixels (detail >= %g)"
               % (art, least), "%.2f" % detail)

    stage.desktop.type(",si")
    for toggled in (False, True):
        stage.desktop.key("F11")
        seen = eventually(lambda: program.window_geometry(program.window),
                          lambda g: (g == tv) == toggled, 5)
        expect((seen == tv) == toggled,
               "F11 to %s full screen" % ("enter" if toggled else "leave"), repr(seen))
        shown = program.text1()
        expect(shown == "Res", 'the box to still show "Res" after F11', repr(shown))
    if len(monitors) > 1:
        stage.session.unplug(len(monitors) - 1)
        seen = eventually(lambda: program.window_geometry(program.window),
                          lambda g: g == laptop, 5)
        expect(seen == laptop, "the stage in full screen on the laptop once the TV is unplugged",
               repr(seen))
        stage.session.screenshot(os.path.join(stage.out_dir, "tv-unplugged.png"))
    stage.desktop.type("m.qual a cor do ceu")
    hidden_answer_delivered(stage, program, stage.press_enter())

    # The consultation at the stage's scale, its sticks dragged as large as they are shown.
    stage.desktop.type("conselho")
    stage.press_enter()
    form2 = eventually(lambda: [w for w in stage.other_windows(program) if w not in pairing],
                       bool, 20)
    expect(len(form2) == 1, "the consultation open", form2)
    sx, sy, sw, sh = monitors[0]  # the stage's screen now
    density = min(sw / STAGE_WIDTH, sh / STAGE_HEIGHT)

    def placed(g):
        return (abs(g[2] - 635 * density) <= 1 and abs(g[3] - 217 * density) <= 1
                and sx <= g[0] <= sx + sw - g[2] and sy <= g[1] <= sy + sh - g[3])
    fx, fy, fw, fh = eventually(lambda: program.window_geometry(form2[0]), placed, 10)
    expect(placed((fx, fy, fw, fh)), "a consultation of %.0f x %.0f on the stage's screen %r"
           % (635 * density, 217 * density, monitors[0]), (fx, fy, fw, fh))

    def at(x, y):
        return fx + round(x * density), fy + round(y * density)
    stage.desktop.drag(at(BUNDLE_VISIBLE_X, STICK_TOP + STICK_STEP * 11 + STICK_HEIGHT - 4),
                       at(*DROP_POINT))
    slot = eventually(lambda: stage.desktop.grab(*at(90, 168), 4, round(15 * density)),
                      lambda p: any(p[1::4]), 5)
    stage.session.screenshot(os.path.join(stage.out_dir, "full-screen-consultation.png"))
    expect(any(slot[1::4]), "the stick dragged into the square's lowest slot", "still black")


SCENARIOS = {
    "first_start": first_start,
    "trick": trick,
    "refusal_and_quick_question": refusal_and_quick_question,
    "language_menu": language_menu,
    "leaving": leaving,
    "consultation": consultation,
    "consultation_in_sight": consultation_in_sight,
    "abuse": abuse,
    "remote_browser": remote_browser,
    "remote_http": remote_http,
    "remote_peek": remote_peek,
    "remote_wait": remote_wait,
    "remote_abuse_close": remote_abuse_close,
    "speaking_face": speaking_face,
    "full_screen": full_screen,
}
