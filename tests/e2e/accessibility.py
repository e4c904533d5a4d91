"""Reading and working the program's widgets through AT-SPI, as a screen reader would.

Widgets are found by their role and what a person hears (a caption, a label's text, a box's
description), as a screen-reader user finds them: Qt 6.4 gives AT-SPI no accessible id.
"""

import re

import pyatspi

from polling import wait_until

MAX_DEPTH = 12

# How the stage's title begins, in every interface language.
STAGE_TITLE = "Quorvel,."

# What the program's code calls its widgets; a person must never hear one of these.
INTERNAL_NAME = re.compile(r"^(Form|Calibrar|Command|Label|Text|Combo|HScroll|Picture|Image|"
                           r"Gif89a|Shape|Timer|Mao|menu|Menu)[A-Za-z0-9_()]*$")


def application(pid, timeout=20):
    return wait_until(lambda: _registered(pid), timeout)


def _registered(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def walk(node, depth=0):
    if node is None or depth > MAX_DEPTH:
        return
    yield node
    try:
        children = list(node)
    except Exception:
        return
    for child in children:
        yield from walk(child, depth + 1)


def find_all(root, name=None, role=None):
    found = []
    for node in walk(root):
        try:
            if name is not None and node.name != name:
                continue
            if role is not None and node.getRole() != role:
                continue
        except Exception:
            continue
        found.append(node)
    return found


def find(root, name=None, role=None):
    found = find_all(root, name, role)
    return found[0] if found else None


def internal_names(root):
    """Names heard under root that are internal ids, as (role name, name)."""
    found = []
    for node in walk(root):
        try:
            if INTERNAL_NAME.match(node.name or ""):
                found.append((node.getRoleName(), node.name))
        except Exception:
            continue
    return found


def accessible_id(node):
    """The AT-SPI accessible id, or the error that asking for it gave."""
    try:
        return node.get_accessible_id()
    except Exception as error:
        return "%s: %s" % (type(error).__name__, error)


def petition_box(app):
    """The stage's one text box, whatever the language it is described in."""
    try:
        frames = windows(app)
    except Exception:  # the application's tree is being rebuilt: not yet
        return None
    for frame in frames:
        try:
            if (frame.name or "").startswith(STAGE_TITLE):
                return find(frame, role=pyatspi.ROLE_TEXT)
        except Exception:
            continue
    return None


def window(app, title):
    for node in windows(app):
        if node.name == title:
            return node
    return None


def windows(app):
    """The application's top-level windows that are showing."""
    shown = []
    for node in list(app):
        try:
            if node.getState().contains(pyatspi.STATE_SHOWING):
                shown.append(node)
        except Exception:
            continue
    return shown


def text(node):
    contents = node.queryText()
    return contents.getText(0, contents.characterCount)


def has_state(node, state):
    return node.getState().contains(state)


def checked(node):
    return has_state(node, pyatspi.STATE_CHECKED)


def snapshot(root):
    """What a person hears of every widget under root: role, name and any text it holds."""
    seen = []
    for node in walk(root):
        try:
            held = text(node) if "Text" in pyatspi.listInterfaces(node) else None
            seen.append((node.getRoleName(), node.name, held))
        except Exception:
            continue
    return seen


def menu_bar_height(app):
    """Height in pixels of the first menu bar: sizes hold on every window system, positions
    do not (a Wayland client does not know where its window is)."""
    bar = find(app, role=pyatspi.ROLE_MENU_BAR)
    return bar.queryComponent().getSize()[1] if bar is not None else 0


def focused(node):
    return has_state(node, pyatspi.STATE_FOCUSED)


def act(node, action_name=None):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if action_name is None or actions.getName(i) == action_name:
            return actions.doAction(i)
    raise LookupError("%s has no action %s" % (node.name, action_name))


def captions(root, role):
    """What is heard of each widget of one role under root, in tree order."""
    return [node.name for node in find_all(root, role=role)]


def buttons(root):
    return captions(root, pyatspi.ROLE_PUSH_BUTTON)


def text_box(root, description):
    return find(root, name=description, role=pyatspi.ROLE_TEXT)


def text_boxes(root):
    """The text boxes under root, as (one-line boxes, multi-line boxes)."""
    boxes = find_all(root, role=pyatspi.ROLE_TEXT)
    multi = [box for box in boxes if has_state(box, pyatspi.STATE_MULTI_LINE)]
    return [box for box in boxes if box not in multi], multi


def menus(app):
    """Captions of the menu bar's menus and, for each, its items as (caption, checked)."""
    bar = find(app, role=pyatspi.ROLE_MENU_BAR)
    result = []
    for menu in list(bar) if bar else []:
        items = []
        for item in walk(menu):
            if item.getRole() in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM,
                                  pyatspi.ROLE_RADIO_MENU_ITEM) and item is not menu:
                items.append((item.name, checked(item)))
        result.append((menu.name, items))
    return result


def menu_item(app, caption):
    for node in walk(app):
        try:
            if node.name == caption and node.getRole() in (
                    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM,
                    pyatspi.ROLE_RADIO_MENU_ITEM):
                return node
        except Exception:
            continue
    return None
