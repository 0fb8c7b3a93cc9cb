#!/usr/bin/env python3
# The other program of the drag-and-drop tests, written with another toolkit (GTK 3): a
# window at a given place that either takes one drop of text or files and writes down
# what it got, or gives one drag of text when the mouse is pressed in it.
#
#   gtk_peer.py target X Y OUT          takes text and files (asks for the data after the
#                                       drop, as GTK does)
#   gtk_peer.py refuse X Y OUT          answers the drop as failed without asking for data
#   gtk_peer.py source X Y OUT TEXT     gives TEXT (UTF-8) as text, copy or move
#
# OUT receives one line per item, written whole when the window's work is done:
# "text=...", "file=..." and "action=move|copy", or "refused" (target); "end=move|copy|none",
# the action the drag ended with (source).
# OUT.ready appears once the window is shown.
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

mode, x, y, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
lines = []


def action_name(a):
    if a & Gdk.DragAction.MOVE:
        return "move"
    if a & Gdk.DragAction.COPY:
        return "copy"
    return "none"


def finish():
    with open(out + ".tmp", "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines))
    import os
    os.replace(out + ".tmp", out)
    Gtk.main_quit()
    return False


def ready(*_):
    with open(out + ".ready", "w") as f:
        f.write("ready\n")
    return False


win = Gtk.Window(title="gtk peer " + mode)
win.set_default_size(200, 120)
win.move(x, y)
area = Gtk.EventBox()
area.add(Gtk.Label(label=mode))
win.add(area)
actions = Gdk.DragAction.COPY | Gdk.DragAction.MOVE

if mode in ("target", "refuse"):
    area.drag_dest_set(Gtk.DestDefaults.MOTION | Gtk.DestDefaults.HIGHLIGHT, [], actions)
    # Files before text, as a file manager takes them.
    area.drag_dest_set_target_list(Gtk.TargetList.new([]))
    area.drag_dest_get_target_list().add_uri_targets(1)
    area.drag_dest_get_target_list().add_text_targets(0)

    def on_drop(widget, context, px, py, time):
        if mode == "refuse":
            Gtk.drag_finish(context, False, False, time)
            lines.append("refused")
            GLib.timeout_add(100, finish)
            return True
        target = widget.drag_dest_find_target(context, None)
        if target is None:
            return False
        widget.drag_get_data(context, target, time)
        return True

    def on_received(widget, context, px, py, data, info, time):
        uris = data.get_uris() if info == 1 else None
        if uris:
            for u in uris:
                lines.append("file=" + GLib.filename_from_uri(u)[0])
        else:
            text = data.get_text()
            if text is not None:
                lines.append("text=" + text)
        ok = len(lines) > 0
        action = context.get_selected_action()
        lines.append("action=" + (action_name(action) if ok else "none"))
        Gtk.drag_finish(context, ok, ok and action == Gdk.DragAction.MOVE, time)
        GLib.timeout_add(100, finish)

    area.connect("drag-drop", on_drop)
    area.connect("drag-data-received", on_received)
else:
    text = sys.argv[5]
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], actions)
    area.drag_source_add_text_targets()

    def on_get(widget, context, data, info, time):
        data.set_text(text, -1)

    def on_end(widget, context):
        lines.append("end=" + action_name(context.get_selected_action()))
        GLib.timeout_add(100, finish)

    def on_failed(widget, context, result):
        lines.append("failed")
        return False

    area.connect("drag-data-get", on_get)
    area.connect("drag-end", on_end)
    area.connect("drag-failed", on_failed)

win.connect("map-event", lambda *a: GLib.timeout_add(200, ready))
win.connect("destroy", Gtk.main_quit)
win.show_all()
Gtk.main()
