"""Reading and working the program's widgets through AT-SPI, as a screen reader would."""

import time

import pyatspi

MAX_DEPTH = 12


def application(pid, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                continue
        time.sleep(0.2)
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


def focused(node):
    return has_state(node, pyatspi.STATE_FOCUSED)


def act(node, action_name=None):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if action_name is None or actions.getName(i) == action_name:
            return actions.doAction(i)
    raise LookupError("%s has no action %s" % (node.name, action_name))


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
